// Times the view transforms of one large scan-like page against the time it
// takes to decode that page: resampling to fit the 480 x 640 screen with the
// normal and the wide box filter and with the quarter turn, and the paint of
// one page view. Prints median times and their ratios to the decode time.
//
// resample_bench [--runs N]
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/controls.h"
#include "bench/bench_util.h"
#include "core/services.h"
#include "image/page_loader.h"
#include "tools/fixtures/fixtures.h"
#include "view/geometry.h"
#include "view/paint.h"
#include "view/resample.h"

namespace {

using zeb::bench::median_ms;

constexpr int kPageWidth = 2480;  // an A4 page scanned at 300 dpi
constexpr int kPageHeight = 3508;

zeb::DecodedPage decode(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return {};
  zeb::DecodedPage page = zeb::decode_jpeg(file, false);
  std::fclose(file);
  return page;
}

// Largest size of a w x h picture that fits the screen.
void fit_screen(int w, int h, int& tw, int& th) {
  const float k = std::min(static_cast<float>(zeb::screen_w) / w, static_cast<float>(zeb::screen_h) / h);
  tw = static_cast<int>(w * k);
  th = static_cast<int>(h * k);
}

bool report(const char* what, double ms, double decode_ms, double target) {
  const double ratio = ms / decode_ms;
  const bool ok = ms >= 0 && ratio <= target;
  std::printf("%-16s %8.2f ms  ratio %.3f  (target <= %.2f) %s\n", what, ms, ratio, target, ok ? "ok" : "OVER");
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  int runs = 7;
  if (argc == 3 && std::string(argv[1]) == "--runs") runs = std::max(1, std::atoi(argv[2]));
  zeb::fixtures::TempDir dir;
  const std::string path = dir / "scan.jpg";
  zeb::fixtures::JpegOptions options;
  options.scan_like = true;
  if (!zeb::fixtures::write_jpeg(path, kPageWidth, kPageHeight, options)) {
    std::fprintf(stderr, "resample_bench: cannot write %s\n", path.c_str());
    return 1;
  }
  zeb::DecodedPage page = decode(path);
  if (!page.bitmap) {
    std::fprintf(stderr, "resample_bench: the page did not decode\n");
    return 1;
  }
  const double decode_ms = median_ms(runs, [&] { return decode(path).bitmap != nullptr; });

  int tw = 0, th = 0, turned_w = 0, turned_h = 0;
  fit_screen(kPageWidth, kPageHeight, tw, th);
  fit_screen(kPageHeight, kPageWidth, turned_w, turned_h);
  auto resample_ms = [&](int w, int h, int rotate, int wide) {
    return median_ms(runs, [&] {
      return zeb::resample(*page.bitmap, page.width, page.height, w, h, rotate, 0, wide).bitmap != nullptr;
    });
  };

  std::printf("page %dx%d, decode %.2f ms (median of %d)\n", kPageWidth, kPageHeight, decode_ms, runs);
  bool ok = report("resample normal", resample_ms(tw, th, 0, 0), decode_ms, 0.25);
  ok = report("resample wide", resample_ms(tw, th, 0, 1), decode_ms, 0.5) && ok;
  ok = report("resample turned", resample_ms(turned_w, turned_h, 1, 0), decode_ms, 0.35) && ok;

  zeb::platform::Platform platform;
  zeb::Viewer v(platform);
  zeb::create_controls(v);
  v.window.page_bitmap = std::move(page.bitmap);
  v.window.page_width = page.width;
  v.window.page_height = page.height;
  v.state.viewing = 1;
  v.state.v_mode = 4;
  zeb::compute_view_geometry(v);
  const double paint_ms = median_ms(runs, [&] {
    zeb::paint(v);
    return true;
  });

  std::printf("page view of %dx%d pixels shown at %dx%d\n", v.window.view_width, v.window.view_height,
              zeb::displayed_size(v).w, zeb::displayed_size(v).h);
  ok = report("paint page view", paint_ms, decode_ms, 0.02) && ok;
  return ok ? 0 : 1;
}
