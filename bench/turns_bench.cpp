// Every kind of turn, with the page left kept and the view made while the
// page is decoded ("now") and without both ("plain", as `--plain-turns`),
// alternating in the same rounds on a book of copies of one corpus page:
// - the cold turn (nothing read ahead) in zoom modes 0, 1 and 4, with the
//   normal and the wide box;
// - the turn back, and forward again, at a reading pace (`idle 300` before
//   each), with read-ahead, in mode 4;
// - entering the book (a folder, a stored archive) from the folder that
//   holds it, with the number of decodes it takes;
// - the peak memory of `zeb --headless` holding one page behind and one
//   read ahead;
// against the command-line decoder's work on the same page.
//
// turns_bench --corpus DIR [--page NAME] [--runs N] [--turns N] [--idle MS]
//             [--zeb PATH] [--report DIR] [--djpeg PATH]
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "bench/bench_util.h"
#include "bench/book_rig.h"
#include "bench/scripted_viewer.h"
#include "core/control_ids.h"
#include "host/text.h"
#include "host/worker.h"
#include "image/kept_pages.h"
#include "image/read_ahead.h"
#include "tools/fixtures/fixtures.h"

namespace zeb::bench {
namespace {

namespace fs = std::filesystem;

constexpr char kPrevious[] = "tap 10 500";  // the lower left edge
constexpr double kColdTarget = 1.00;        // a cold mode-4 turn against djpeg's work
constexpr double kBackTarget = 0.25;        // a turn back at reading pace against djpeg's work

struct Mode {
  const char* name;
  int v_mode, ZOOM_MODE;
};
constexpr Mode kModes[] = {
    {"mode 0", 0, 0}, {"mode 1", 1, 0}, {"mode 1 wide", 1, 1}, {"mode 4", 4, 0}, {"mode 4 wide", 4, 1}};

const char* variant(bool plain) { return plain ? "plain" : "now"; }

struct Book {
  std::string root, settings, folder, archive;
};

bool enter_page_view(ScriptedViewer& sv, const Mode& mode) {
  sv.viewer().state.ZOOM_MODE = mode.ZOOM_MODE;
  return sv.run("select 1014 " + std::to_string(mode.v_mode)) && sv.run("text 1031 480") && sv.run("dblclick 1003");
}

// Cold turns: no read-ahead, each turn decodes its page.
bool cold_turns(const Book& b, const Mode& mode, bool plain, const BookOptions& o, Samples& samples) {
  ScriptedViewer sv(b.root, b.settings, b.folder, false, plain);
  if (!sv.ready() || !enter_page_view(sv, mode)) return false;
  for (int turn = 0; turn < o.turns; ++turn) {
    const Timing t = sv.timed(kNextTap);
    if (!sv.viewer().window.page_bitmap) return false;
    const std::string key = std::string(mode.name) + " " + variant(plain);
    samples[key].push_back(t.wall_ms);
    samples[key + " cpu"].push_back(t.cpu_ms);
  }
  return true;
}

// A reader checking the page before: back after a pause, then forward
// again after a pause, with read-ahead, in mode 4.
bool back_and_forth(const Book& b, bool plain, const BookOptions& o, Samples& samples) {
  ScriptedViewer sv(b.root, b.settings, b.folder, true, plain);
  const std::string pause = "idle " + std::to_string(o.idle_ms);
  if (!sv.ready() || !enter_page_view(sv, kModes[3]) || !sv.run(pause) || !sv.run(kNextTap)) return false;
  const int kept_before = page_load_counts(sv.viewer().window).kept;
  for (int turn = 0; turn < o.turns; ++turn) {
    for (const char* line : {kPrevious, kNextTap}) {
      if (!sv.run(pause)) return false;
      const Timing t = sv.timed(line);
      if (!sv.viewer().window.page_bitmap) return false;
      const std::string key = std::string(line == kPrevious ? "back " : "again ") + variant(plain);
      samples[key].push_back(t.wall_ms);
      samples[key + " cpu"].push_back(t.cpu_ms);
    }
  }
  samples[std::string("kept ") + variant(plain)].push_back(page_load_counts(sv.viewer().window).kept - kept_before);
  return true;
}

// Entering the book from the folder that holds it: a choice in the folder
// list, which opens the location and shows its first page (the preview).
bool enter_book(const Book& b, const std::string& name, bool plain, Samples& samples) {
  ScriptedViewer sv(b.root, b.settings, b.root, false, plain);
  if (!sv.ready()) return false;
  const platform::Dialog& d = sv.viewer().dialog;
  int entry = -1;
  for (int i = 0; i < d.item_count(ctl::folder_list); ++i)
    if (d.item_text(ctl::folder_list, i) == text::from_utf8(name)) entry = i;
  if (entry < 0) return false;
  const int decoded = page_load_counts(sv.viewer().window).decoded;
  const Timing t = sv.timed("select 1001 " + std::to_string(entry));
  if (!sv.viewer().window.page_bitmap) return false;
  const std::string key = "enter " + name + " " + variant(plain);
  samples[key].push_back(t.wall_ms);
  samples[key + " cpu"].push_back(t.cpu_ms);
  samples[key + " decodes"].push_back(page_load_counts(sv.viewer().window).decoded - decoded);
  return true;
}

// Peak resident memory of a headless reading in mode 4 that ends with one
// page behind and one read ahead.
void measure_memory(const BookOptions& o, const Book& b, const std::string& script, Samples& samples) {
  for (int i = 0; i < kMemoryRuns; ++i) {
    for (const bool plain : {false, true}) {
      std::vector<std::string> argv = {o.zeb, "--headless", "--root", b.root, "--settings", b.root + "/zeb-settings"};
      if (plain) argv.push_back("--plain-turns");
      argv.push_back(b.folder);
      const ProcessResult r = run_process(argv, script);
      samples[std::string("rss ") + variant(plain)].push_back(r.ok ? static_cast<double>(r.max_rss_kib) : kFailed);
    }
  }
}

struct Report {
  const std::map<std::string, double>& m;
  double get(const std::string& key) const {
    auto it = m.find(key);
    return it == m.end() ? kFailed : it->second;
  }
  // "wall (processor)" of a measure.
  std::string ms(const std::string& key) const {
    return fmt("%.1f", get(key)) + " (" + fmt("%.1f", get(key + " cpu")) + ")";
  }
  // Processor time of the reader's thread against djpeg's, then the wall
  // time against djpeg's, which a target judges: the time the reader waits
  // (a cold turn hands part of its work to the view's helper thread).
  std::string ratio(const std::string& key, double target) const {
    const double wall = get(key) / get("djpeg work");
    return fmt("%.2f", get(key + " cpu") / get("djpeg work cpu")) + " (wall " + fmt("%.2f", wall) +
           (target > 0 ? verdict(wall, target) : "") + ")";
  }
};

void write_turns(std::FILE* out, const Report& r, const BookOptions& o) {
  std::fprintf(out,
               "Turns on `%s` with the page left kept and the view made while decoding (now) and without\n"
               "(plain, `--plain-turns`), alternating in the same %d rounds; wall time in ms, median, the\n"
               "reader's thread's processor time in brackets; ratios of processor time to `djpeg -ppm`'s\n"
               "work, wall ratio beside them (the targets judge the wall ratio); %d processors:\n\n",
               o.page.c_str(), o.runs, platform::processors_available());
  std::fprintf(out, "| Turn | plain | now | plain / djpeg | now / djpeg |\n|---|---|---|---|---|\n");
  for (const Mode& mode : kModes) {
    const std::string n = mode.name;
    const double target = n == "mode 4" ? kColdTarget : 0;
    std::fprintf(out, "| cold, %s | %s | %s | %s | %s%s |\n", mode.name, r.ms(n + " plain").c_str(),
                 r.ms(n + " now").c_str(), r.ratio(n + " plain", 0).c_str(), r.ratio(n + " now", target).c_str(),
                 target > 0 ? " (<= 1.00)" : "");
  }
  std::fprintf(out, "| back after `idle %d`, mode 4 | %s | %s | %s | %s (<= %.2f) |\n", o.idle_ms,
               r.ms("back plain").c_str(), r.ms("back now").c_str(), r.ratio("back plain", 0).c_str(),
               r.ratio("back now", kBackTarget).c_str(), kBackTarget);
  std::fprintf(out, "| forward again after `idle %d` | %s | %s | %s | %s |\n", o.idle_ms, r.ms("again plain").c_str(),
               r.ms("again now").c_str(), r.ratio("again plain", 0).c_str(), r.ratio("again now", 0).c_str());
  for (const char* name : {"book", "book.zip"}) {
    const std::string n = std::string("enter ") + name;
    std::fprintf(out, "| entering `%s` from its folder: %s / %s decodes | %s | %s | %s | %s |\n", name,
                 fmt("%.0f", r.get(n + " plain decodes")).c_str(), fmt("%.0f", r.get(n + " now decodes")).c_str(),
                 r.ms(n + " plain").c_str(), r.ms(n + " now").c_str(), r.ratio(n + " plain", 0).c_str(),
                 r.ratio(n + " now", 0).c_str());
  }
  std::fprintf(out,
               "\nTurns that took a kept page, of %d back and forth: plain %s, now %s. `djpeg -ppm`: %s ms of work.\n",
               2 * o.turns, fmt("%.0f", r.get("kept plain")).c_str(), fmt("%.0f", r.get("kept now")).c_str(),
               r.ms("djpeg work").c_str());
}

void write_memory(std::FILE* out, const Report& r, double page_bytes, double view_bytes) {
  const double budget = (3 * page_bytes + 2 * view_bytes) / kMiB + kMemoryBudgetMiB;
  const double now = r.get("rss now") / 1024, plain = r.get("rss plain") / 1024;
  std::fprintf(out,
               "\nPeak memory of `zeb --headless` in mode 4 after a turn and a pause (one page behind, one read\n"
               "ahead), in MiB: now %s, plain %s; page bitmap %.1f, view bitmap %.1f; page + view + the page\n"
               "behind with its view + one ahead + %.0f = %.1f (%s).\n",
               fmt("%.1f", now).c_str(), fmt("%.1f", plain).c_str(), page_bytes / kMiB, view_bytes / kMiB,
               kMemoryBudgetMiB, budget, failed(now) ? "failed" : verdict(now, budget).c_str() + 1);
}

bool make_book(const BookOptions& o, const fs::path& root, Book& b) {
  b.root = root.string();
  b.folder = (root / "book").string();
  b.archive = (root / "book.zip").string();
  const std::string page = write_book(o, b.folder);
  if (page.empty()) return false;
  std::vector<fixtures::ZipEntry> entries;
  for (int i = 0; i < kBookCopies; ++i) entries.push_back({.name = book_page_name(i), .data = page});
  return fixtures::write_file(b.archive, fixtures::zip_bytes(entries));
}

bool run_round(const Book& b, int round, const BookOptions& o, Samples& samples) {
  for (const bool plain : {round % 2 == 0, round % 2 != 0}) {
    for (const Mode& mode : kModes)
      if (!cold_turns(b, mode, plain, o, samples)) return false;
    if (!back_and_forth(b, plain, o, samples)) return false;
    if (!enter_book(b, "book", plain, samples) || !enter_book(b, "book.zip", plain, samples)) return false;
  }
  return true;
}

}  // namespace
}  // namespace zeb::bench

int main(int argc, char** argv) {
  using namespace zeb::bench;
  namespace fx = zeb::fixtures;
  BookOptions o;
  o.turns = 4;
  if (!parse_book_options(argc, argv, o)) return book_usage("turns_bench");
  fx::TempDir root, settings;
  Book b;
  const std::string tiny = root / "tiny.jpg", script = root / "memory.script";
  if (!make_book(o, root.path(), b) || !fx::write_jpeg(tiny, 16, 16) || !fx::write_file(script, memory_script(o))) {
    std::fprintf(stderr, "turns_bench: cannot make the book under %s\n", root.path().c_str());
    return 1;
  }
  b.settings = settings.path();
  Samples samples;
  // Memory first: a child's peak counts at least this process's size.
  if (!o.zeb.empty()) measure_memory(o, b, script, samples);
  if (!run_rounds(o, tiny, samples, [&](int round) { return run_round(b, round, o, samples); })) {
    std::fprintf(stderr, "turns_bench: the viewer cannot read %s\n", o.page.c_str());
    return 1;
  }
  ScriptedViewer sv(b.root, b.settings, b.folder);
  BitmapBytes bytes;
  if (sv.ready() && enter_page_view(sv, kModes[3])) bytes = bitmap_bytes(sv.viewer().window);
  std::FILE* out = std::fopen((o.report + "/turns_bench.md").c_str(), "w");
  if (!out) return 1;
  const std::map<std::string, double> medians = medians_of(samples);
  const Report report{medians};
  write_turns(out, report, o);
  if (!o.zeb.empty()) write_memory(out, report, bytes.page, bytes.view);
  return std::fclose(out) == 0 ? 0 : 1;
}
