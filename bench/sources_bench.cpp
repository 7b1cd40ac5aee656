// Times the page sources and the start-up against the time it takes to
// decode one 1200 x 1600 page: opening a folder of 10,000 pages, opening an
// archive of 3,000 stored pages, sorting a page list of 10,000 names, a page
// turn in an archive of 1200 x 1600 pages stored and the same turn with the
// pages deflated, and, given the program, `zeb --headless` from its start to
// its first paint on each of them. Each open includes the preview load of
// the first page, as in the browser. Prints median times and their ratios
// to the decode time (the deflated turn also to the stored one).
//
// sources_bench [--runs N] [--zeb PATH] [--report DIR]
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "app/controls.h"
#include "app/open_location.h"
#include "app/sort_pages.h"
#include "bench/bench_util.h"
#include "bench/scripted_viewer.h"
#include "core/control_ids.h"
#include "host/text.h"
#include "image/page_loader.h"
#include "tools/fixtures/fixtures.h"

namespace {

using zeb::bench::median;
using zeb::bench::median_ms;
using zeb::bench::usage;

constexpr int kPageWidth = 1200, kPageHeight = 1600;  // the reference page
constexpr int kFolderPages = 10000;
constexpr int kArchivePages = 3000;
constexpr int kSortNames = 10000;
constexpr int kTurnPages = 4;                // pages of the turn archives
constexpr double kDeflatedTurnLimit = 1.10;  // a deflated turn against a stored one

struct Options {
  int runs = 7;
  std::string zeb;     // the program for the start-up runs; none when empty
  std::string report;  // folder for sources_bench.md; none when empty
};

bool parse_options(int argc, char** argv, Options& o) {
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string arg = argv[i];
    if (arg == "--runs") o.runs = std::max(1, std::atoi(argv[i + 1]));
    else if (arg == "--zeb") o.zeb = argv[i + 1];
    else if (arg == "--report") o.report = argv[i + 1];
    else return false;
  }
  return argc % 2 == 1;
}

// Result lines, printed and kept for the report.
struct Report {
  std::string markdown = "| Measure | ms | ratio to the decode |\n|---|---|---|\n";
  bool ok = true;
  // A measure judged against another one rather than against the decode.
  void add_against(const std::string& what, double ms, double decode_ms, double base_ms, const char* base,
                   double limit) {
    const double ratio = ms / base_ms;
    const bool met = ms >= 0 && ratio <= limit;
    ok = ok && met;
    std::printf("%-34s %8.2f ms  ratio %.3f to the %s (target <= %.2f) %s\n", what.c_str(), ms, ratio, base, limit,
                met ? "ok" : "OVER");
    char row[200];
    std::snprintf(row, sizeof row, "| %s | %.1f | %.2f; %.3f to the %s (<= %.2f %s) |\n", what.c_str(), ms,
                  ms / decode_ms, ratio, base, limit, met ? "met" : "**missed**");
    markdown += row;
  }
  void add(const std::string& what, double ms, double decode_ms, bool judged) {
    const double ratio = ms / decode_ms;
    const bool met = ms >= 0 && ratio <= 1.0;
    if (judged) ok = ok && met;
    std::printf("%-34s %8.2f ms  ratio %.3f%s\n", what.c_str(), ms, ratio,
                judged ? (met ? "  (target <= 1.00) ok" : "  (target <= 1.00) OVER") : "");
    char row[160];
    std::snprintf(row, sizeof row, "| %s | %.1f | %.2f%s |\n", what.c_str(), ms, ratio,
                  judged ? (met ? " (<= 1.00 met)" : " (<= 1.00 **missed**)") : "");
    markdown += row;
  }
};

std::string page_name(int i) {
  char name[32];
  std::snprintf(name, sizeof name, "p%05d.jpg", i);
  return name;
}

// The folder "pages" with kFolderPages small pages, "book.zip" with
// kArchivePages stored ones, and "one" with the reference page.
bool make_library(const zeb::fixtures::TempDir& dir, const std::string& reference) {
  const std::string small = zeb::fixtures::jpeg_bytes(64, 96);
  if (!zeb::fixtures::make_dirs(dir / "pages") || !zeb::fixtures::make_dirs(dir / "one")) return false;
  if (!zeb::fixtures::write_file(dir / "one/page.jpg", reference)) return false;
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

// Only the sort is timed; shuffling and filling the list are not.
double sort_ms(zeb::Viewer& v, int runs) {
  std::vector<std::u16string> names;
  for (int i = 0; i < kSortNames; ++i) names.push_back(zeb::text::from_utf8(page_name(i)));
  std::mt19937 rng(1);
  std::vector<double> times;
  for (int r = 0; r < runs; ++r) {
    std::shuffle(names.begin(), names.end(), rng);
    v.dialog.clear_items(zeb::ctl::page_list);
    for (int i = 0; i < kSortNames; ++i) v.dialog.insert_item(zeb::ctl::page_list, i, names[i]);
    times.push_back(zeb::bench::elapsed_ms([&] {
      zeb::sort_page_list(v, false);
      return v.dialog.item_text(zeb::ctl::page_list, 0) == u"p00000.jpg";
    }));
  }
  return median(times);
}

// The archives "stored.zip" and "deflated.zip" hold the same kTurnPages
// pages of the reference's kind, stored and deflated.
bool make_turn_archives(const zeb::fixtures::TempDir& dir) {
  std::vector<zeb::fixtures::ZipEntry> entries(kTurnPages);
  for (int i = 0; i < kTurnPages; ++i) {
    zeb::fixtures::JpegOptions scan;
    scan.scan_like = true;
    scan.seed = static_cast<unsigned>(i + 2);
    entries[i].name = page_name(i);
    entries[i].data = zeb::fixtures::jpeg_bytes(kPageWidth, kPageHeight, scan);
  }
  if (!zeb::fixtures::write_file(dir / "stored.zip", zeb::fixtures::zip_bytes(entries))) return false;
  for (auto& e : entries) e.deflate = true;
  return zeb::fixtures::write_file(dir / "deflated.zip", zeb::fixtures::zip_bytes(entries));
}

// A page turn in the page view of each archive (the tap on the lower right
// edge: load, geometry, paint), the two viewers taking turns. Processor
// time is taken, so that the other work of a shared machine does not blur
// the small difference between the two. Fills in the median of each.
bool time_archive_turns(const Options& o, const zeb::fixtures::TempDir& dir, double& stored_ms, double& deflated_ms) {
  zeb::bench::ScriptedViewer stored(dir.path(), dir / "turn-settings-s", dir / "stored.zip");
  zeb::bench::ScriptedViewer deflated(dir.path(), dir / "turn-settings-d", dir / "deflated.zip");
  if (!stored.ready() || !deflated.ready() || !stored.run("ok") || !deflated.run("ok")) return false;
  std::vector<double> stored_times, deflated_times;
  for (int r = 0; r < o.runs * kTurnPages; ++r) {
    stored_times.push_back(stored.timed("tap 470 500").cpu_ms);
    deflated_times.push_back(deflated.timed("tap 470 500").cpu_ms);
  }
  // Every turn must have shown its page in both archives.
  if (!stored.viewer().window.page_bitmap || !deflated.viewer().window.page_bitmap) return false;
  stored_ms = median(stored_times);
  deflated_ms = median(deflated_times);
  return true;
}

// `zeb --headless` on each location with an empty script: from the start
// of the process through the start-up and its first paint to its end. The
// locations take turns, so all see the same machine load.
void time_start_up(const Options& o, const zeb::fixtures::TempDir& dir, double decode, Report& report) {
  const std::string settings = dir / "settings";
  const std::vector<std::pair<std::string, std::string>> starts = {
      {"start-up, one 1200x1600 page", dir / "one"},
      {"start-up, folder of 10,000 pages", dir / "pages"},
      {"start-up, archive of 3,000 pages", dir / "book.zip"},
  };
  std::vector<std::vector<double>> times(starts.size() + 1);
  for (int r = 0; r < o.runs; ++r) {
    for (size_t i = 0; i < starts.size(); ++i) {
      const auto run = zeb::bench::run_process(
          {o.zeb, "--headless", "--root", dir.path(), "--settings", settings, starts[i].second});
      times[i].push_back(run.ok ? run.wall_ms : zeb::bench::kFailed);
    }
    const auto bare = zeb::bench::run_process({o.zeb, "--version"});
    times.back().push_back(bare.ok ? bare.wall_ms : zeb::bench::kFailed);
  }
  for (size_t i = 0; i < starts.size(); ++i) report.add(starts[i].first, median(times[i]), decode, false);
  report.add("`zeb --version` (starting the process)", median(times.back()), decode, false);
}

}  // namespace

int main(int argc, char** argv) {
  Options o;
  if (!parse_options(argc, argv, o)) return usage("usage: sources_bench [--runs N] [--zeb PATH] [--report DIR]\n");
  zeb::fixtures::TempDir dir;
  zeb::fixtures::JpegOptions scan;
  scan.scan_like = true;
  const std::string reference = zeb::fixtures::jpeg_bytes(kPageWidth, kPageHeight, scan);
  if (!zeb::fixtures::write_file(dir / "reference.jpg", reference) || !make_library(dir, reference) ||
      !make_turn_archives(dir)) {
    std::fprintf(stderr, "sources_bench: cannot write the pages under %s\n", dir.path().c_str());
    return 1;
  }
  const double decode = decode_ms(o.runs, dir / "reference.jpg");
  if (!(decode > 0)) {
    std::fprintf(stderr, "sources_bench: the reference page did not decode\n");
    return 1;
  }
  Report report;
  report.add("decode of a 1200x1600 page", decode, decode, false);

  zeb::platform::Platform platform;
  platform.storage = zeb::platform::Storage(dir.path());
  zeb::Viewer v(platform);
  zeb::create_controls(v);
  v.state.panel_mode = 1;  // the browser
  auto open = [&](const std::u16string& location, int expected) {
    return median_ms(o.runs, [&] {
      v.state.LastDir = location;
      zeb::open_location(v);
      return v.dialog.item_count(zeb::ctl::page_list) == expected;
    });
  };
  report.add("open folder (10,000 pages)", open(u"\\pages", kFolderPages), decode, true);
  report.add("open archive (3,000 pages)", open(u"\\book.zip", kArchivePages), decode, true);
  report.add("sort 10,000 names", sort_ms(v, o.runs), decode, true);
  double stored_turn = 0, deflated_turn = 0;
  if (time_archive_turns(o, dir, stored_turn, deflated_turn)) {
    report.add("page turn, stored archive (processor time)", stored_turn, decode, false);
    report.add_against("page turn, deflated archive (processor time)", deflated_turn, decode, stored_turn,
                       "stored turn", kDeflatedTurnLimit);
  } else {
    std::fprintf(stderr, "sources_bench: the archive page turns did not run\n");
    report.ok = false;
  }
  if (!o.zeb.empty()) time_start_up(o, dir, decode, report);

  if (!o.report.empty() && !zeb::fixtures::write_file(o.report + "/sources_bench.md", report.markdown)) {
    std::fprintf(stderr, "sources_bench: cannot write %s/sources_bench.md\n", o.report.c_str());
    return 1;
  }
  return report.ok ? 0 : 1;
}
