// Decodes one large scan-like page through the loader's decoder and through
// the libjpeg command-line decoder, and prints the median times and their
// ratio. The loader should run at the speed of the library (ratio near 1).
//
// decode_bench [--runs N] [--djpeg PATH]
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/bench_util.h"
#include "image/page_loader.h"
#include "tools/fixtures/fixtures.h"

namespace {

using zeb::bench::elapsed_ms;
using zeb::bench::median;

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
  // The two decoders take turns, so both see the same load on a shared machine.
  std::vector<double> loader_times, djpeg_times;
  bool have_djpeg = true;
  for (int i = 0; i < o.runs; ++i) {
    loader_times.push_back(elapsed_ms([&] { return decode_with_loader(path); }));
    if (zeb::bench::failed(loader_times.back())) {
      std::fprintf(stderr, "decode_bench: the loader failed to decode the page\n");
      return 1;
    }
    if (have_djpeg) {
      djpeg_times.push_back(elapsed_ms([&] { return decode_with_djpeg(o.djpeg, path); }));
      have_djpeg = !zeb::bench::failed(djpeg_times.back());
    }
  }
  const double loader = median(loader_times);
  std::printf("loader decode_jpeg: %8.1f ms\n", loader);
  if (!have_djpeg) {
    std::printf("djpeg: not available (%s); no ratio\n", o.djpeg.c_str());
    return 0;
  }
  const double djpeg = median(djpeg_times);
  std::printf("djpeg process:      %8.1f ms\n", djpeg);
  const double ratio = loader / djpeg;
  std::printf("ratio loader/djpeg: %8.3f (target %.2f: %s)\n", ratio, kTargetRatio,
              ratio <= kTargetRatio ? "met" : "missed");
  return 0;
}
