// Times the page sources against the time it takes to decode one 1200 x 1600
// page: opening a folder of 10,000 pages, opening an archive of 3,000 stored
// pages, and sorting a page list of 10,000 names. Each open includes the
// preview load of the first page, as in the browser. Prints median times and
// their ratios to the decode time.
//
// sources_bench [--runs N]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "app/control_ids.h"
#include "app/startup.h"
#include "image/page_loader.h"
#include "platform/text.h"
#include "sources/folders.h"
#include "sources/sorting.h"
#include "tools/fixtures/fixtures.h"

namespace {

constexpr int kPageWidth = 1200, kPageHeight = 1600;  // the reference page
constexpr int kFolderPages = 10000;
constexpr int kArchivePages = 3000;
constexpr int kSortNames = 10000;

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

bool report(const char* what, double ms, double decode_ms) {
  const double ratio = ms / decode_ms;
  const bool ok = ms >= 0 && ratio <= 1.0;
  std::printf("%-22s %8.2f ms  ratio %.3f  (target <= 1.00) %s\n", what, ms, ratio, ok ? "ok" : "OVER");
  return ok;
}

std::string page_name(int i) {
  char name[32];
  std::snprintf(name, sizeof name, "p%05d.jpg", i);
  return name;
}

// The folder "pages" with kFolderPages small pages and "book.zip" with
// kArchivePages stored ones.
bool make_library(const zeb::fixtures::TempDir& dir) {
  const std::string small = zeb::fixtures::jpeg_bytes(64, 96);
  if (!zeb::fixtures::make_dirs(dir / "pages")) return false;
  for (int i = 0; i < kFolderPages; ++i)
    if (!zeb::fixtures::write_file(dir / ("pages/" + page_name(i)), small)) return false;
  std::vector<zeb::fixtures::ZipEntry> entries(kArchivePages);
  for (int i = 0; i < kArchivePages; ++i) {
    entries[i].name = page_name(i);
    entries[i].data = small;
  }
  return zeb::fixtures::write_file(dir / "book.zip", zeb::fixtures::zip_bytes(entries));
}

double decode_ms(int runs, const std::string& path) {
  return median_ms(runs, [&] {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return false;
    zeb::DecodedPage page = zeb::decode_jpeg(file, false);
    std::fclose(file);
    return page.bitmap != nullptr;
  });
}

}  // namespace

int main(int argc, char** argv) {
  int runs = 7;
  if (argc == 3 && std::string(argv[1]) == "--runs") runs = std::max(1, std::atoi(argv[2]));
  zeb::fixtures::TempDir dir;
  zeb::fixtures::JpegOptions scan;
  scan.scan_like = true;
  if (!zeb::fixtures::write_jpeg(dir / "reference.jpg", kPageWidth, kPageHeight, scan) || !make_library(dir)) {
    std::fprintf(stderr, "sources_bench: cannot write the pages under %s\n", dir.path().c_str());
    return 1;
  }
  const double decode = decode_ms(runs, dir / "reference.jpg");
  if (decode <= 0) {
    std::fprintf(stderr, "sources_bench: the reference page did not decode\n");
    return 1;
  }
  std::printf("decode %dx%d page      %8.2f ms\n", kPageWidth, kPageHeight, decode);

  zeb::platform::Platform platform;
  platform.storage = zeb::platform::Storage(dir.path());
  zeb::Viewer v(platform);
  zeb::create_controls(v);
  v.state.panel_mode = 1;  // the browser
  auto open = [&](const std::u16string& location, int expected) {
    return median_ms(runs, [&] {
      v.state.LastDir = location;
      zeb::open_location(v);
      return v.dialog.item_count(zeb::ctl::page_list) == expected;
    });
  };
  bool ok = report("open folder (10,000)", open(u"\\pages", kFolderPages), decode);
  ok = report("open archive (3,000)", open(u"\\book.zip", kArchivePages), decode) && ok;

  std::vector<std::u16string> names;
  for (int i = 0; i < kSortNames; ++i) names.push_back(zeb::text::from_utf8(page_name(i)));
  // Only the sort is timed; shuffling and filling the list are not.
  std::mt19937 rng(1);
  std::vector<double> times;
  bool sorted = true;
  for (int r = 0; r < runs; ++r) {
    std::shuffle(names.begin(), names.end(), rng);
    v.dialog.clear_items(zeb::ctl::page_list);
    for (int i = 0; i < kSortNames; ++i) v.dialog.insert_item(zeb::ctl::page_list, i, names[i]);
    const auto start = std::chrono::steady_clock::now();
    zeb::sort_page_list(v, false);
    times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    sorted = sorted && v.dialog.item_text(zeb::ctl::page_list, 0) == u"p00000.jpg";
  }
  std::sort(times.begin(), times.end());
  const double sort = sorted ? times[times.size() / 2] : -1;
  ok = report("sort 10,000 names", sort, decode) && ok;
  return ok ? 0 : 1;
}
