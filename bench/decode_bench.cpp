// Decodes one large scan-like page through the loader's decoder and through
// the libjpeg command-line decoder, and prints the median times and their
// ratio. The loader should run at the speed of the library (ratio near 1).
//
// decode_bench [--runs N] [--djpeg PATH]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "image/page_loader.h"
#include "tools/fixtures/fixtures.h"

namespace {

constexpr int kPageWidth = 2480;   // an A4 page scanned at 300 dpi
constexpr int kPageHeight = 3508;
constexpr double kTargetRatio = 1.10;

struct Options {
  int runs = 7;
  std::string djpeg = "djpeg";
};

bool parse_options(int argc, char** argv, Options& o) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--runs" && i + 1 < argc) {
      o.runs = std::max(1, std::atoi(argv[++i]));
    } else if (arg == "--djpeg" && i + 1 < argc) {
      o.djpeg = argv[++i];
    } else {
      std::fprintf(stderr, "usage: decode_bench [--runs N] [--djpeg PATH]\n");
      return false;
    }
  }
  return true;
}

// Median wall time of the runs in milliseconds, or a negative value when a
// run failed.
double median_ms(int runs, const std::function<bool()>& run) {
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    const auto start = std::chrono::steady_clock::now();
    if (!run()) return -1;
    times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

bool decode_with_loader(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return false;
  const zeb::DecodedPage page = zeb::decode_jpeg(file, false);
  std::fclose(file);
  return page.bitmap && page.width == kPageWidth && page.height == kPageHeight;
}

// The whole djpeg process, writing its usual PPM output to /dev/null.
bool decode_with_djpeg(const std::string& djpeg, const std::string& path) {
  const std::string command = "'" + djpeg + "' -outfile /dev/null '" + path + "'";
  return std::system(command.c_str()) == 0;
}

}  // namespace

int main(int argc, char** argv) {
  Options o;
  if (!parse_options(argc, argv, o)) return 2;
  zeb::fixtures::TempDir dir;
  const std::string path = dir / "scan.jpg";
  zeb::fixtures::JpegOptions page;
  page.scan_like = true;
  page.number = 1;
  if (!zeb::fixtures::write_jpeg(path, kPageWidth, kPageHeight, page)) {
    std::fprintf(stderr, "decode_bench: cannot write the test page\n");
    return 1;
  }
  std::printf("page: %dx%d scan-like colour JPEG, median of %d runs\n", kPageWidth, kPageHeight, o.runs);
  const double loader = median_ms(o.runs, [&] { return decode_with_loader(path); });
  if (loader < 0) {
    std::fprintf(stderr, "decode_bench: the loader failed to decode the page\n");
    return 1;
  }
  std::printf("loader decode_jpeg: %8.1f ms\n", loader);
  const double djpeg = median_ms(o.runs, [&] { return decode_with_djpeg(o.djpeg, path); });
  if (djpeg < 0) {
    std::printf("djpeg: not available (%s); no ratio\n", o.djpeg.c_str());
    return 0;
  }
  std::printf("djpeg process:      %8.1f ms\n", djpeg);
  const double ratio = loader / djpeg;
  std::printf("ratio loader/djpeg: %8.3f (target %.2f: %s)\n", ratio, kTargetRatio,
              ratio <= kTargetRatio ? "met" : "missed");
  return 0;
}
