// Turning pages at a reading pace: a book of copies of one corpus page,
// entered in the page view and turned forward with `idle 300` (real time,
// the timer ticking) before every turn, with read-ahead and without it, in
// the same rounds. Reports the first turn (nothing read ahead yet), the
// median of the later turns, the processor time all threads spend per page,
// and the command-line decoder's work on the same page; and the peak memory
// of `zeb --headless` reading the book, against its bitmaps.
//
// reading_bench --corpus DIR [--page NAME] [--runs N] [--turns N] [--idle MS]
//               [--zeb PATH] [--report DIR] [--djpeg PATH]
#include <time.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "bench/bench_util.h"
#include "bench/book_rig.h"
#include "bench/scripted_viewer.h"
#include "image/read_ahead.h"
#include "tools/fixtures/fixtures.h"

namespace zeb::bench {
namespace {

constexpr double kPaceTarget = 0.25;  // a turn at reading pace against djpeg's work

double process_cpu_ms() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

// One reading of the book: enter it, turn at once, then turn after each
// pause. Keys carry the setting's name ("ahead" or "plain").
bool read_book(const std::string& root, const std::string& settings, const std::string& book, bool read_ahead,
               const BookOptions& o, Samples& samples) {
  const std::string name = read_ahead ? "ahead" : "plain";
  ScriptedViewer sv(root, settings, book, read_ahead);
  if (!sv.ready() || !sv.run("dblclick 1003")) return false;
  const Timing first = sv.timed(kNextTap);
  samples[name + " first"].push_back(first.wall_ms);
  samples[name + " first cpu"].push_back(first.cpu_ms);
  const int adopted_before = read_ahead_counts(sv.viewer().window).adopted;
  const double cpu_start = process_cpu_ms();
  for (int turn = 0; turn < o.turns; ++turn) {
    if (!sv.run("idle " + std::to_string(o.idle_ms))) return false;
    const Timing t = sv.timed(kNextTap);
    if (!sv.viewer().window.page_bitmap) return false;
    samples[name + " turn"].push_back(t.wall_ms);
    samples[name + " turn cpu"].push_back(t.cpu_ms);
  }
  samples[name + " page cpu"].push_back((process_cpu_ms() - cpu_start) / o.turns);
  samples[name + " adopted"].push_back(read_ahead_counts(sv.viewer().window).adopted - adopted_before);
  return true;
}

// Peak resident memory of a headless reading of the book in mode 4: into
// the page view, a pause, a turn, a pause (the next page read ahead).
void measure_memory(const BookOptions& o, const std::string& root, const std::string& book, const std::string& script,
                    Samples& samples) {
  for (const bool read_ahead : {true, false}) {
    std::vector<std::string> argv = {o.zeb, "--headless", "--root", root, "--settings", root + "/zeb-settings"};
    if (!read_ahead) argv.push_back("--no-read-ahead");
    argv.push_back(book);
    for (int i = 0; i < kMemoryRuns; ++i) {
      const ProcessResult r = run_process(argv, script);
      samples[read_ahead ? "rss ahead" : "rss plain"].push_back(r.ok ? static_cast<double>(r.max_rss_kib) : kFailed);
    }
  }
}

bool write_report(const BookOptions& o, const std::map<std::string, double>& m, double page_bytes, double view_bytes,
                  bool memory) {
  auto get = [&](const std::string& key) {
    auto it = m.find(key);
    return it == m.end() ? kFailed : it->second;
  };
  std::FILE* out = std::fopen((o.report + "/reading_bench.md").c_str(), "w");
  if (!out) return false;
  const double djpeg_work = get("djpeg work");
  std::fprintf(out,
               "Reading pace on `%s`: a book of %d copies in the page view (mode 0), each turn after\n"
               "`idle %d`; wall time in ms, median of %d rounds of %d turns, the reader's thread's\n"
               "processor time in brackets. The target is judged on processor time, as above, with\n"
               "the ratio of wall times beside it:\n\n",
               o.page.c_str(), kBookCopies, o.idle_ms, o.runs, o.turns);
  std::fprintf(out,
               "| Read-ahead | first turn | turn at reading pace | turns that took the page read ahead | "
               "processor time per page, all threads | turn / djpeg work (<= %.2f) |\n",
               kPaceTarget);
  std::fprintf(out, "|---|---|---|---|---|---|\n");
  const double djpeg_cpu = get("djpeg work cpu");
  for (const char* name : {"ahead", "plain"}) {
    const std::string n = name;
    const double ratio = get(n + " turn cpu") / djpeg_cpu, wall_ratio = get(n + " turn") / djpeg_work;
    std::fprintf(out, "| %s | %s (%s) | %s (%s) | %s of %d | %s | %s%s (wall %s) |\n", n == "ahead" ? "on" : "off",
                 fmt("%.1f", get(n + " first")).c_str(), fmt("%.1f", get(n + " first cpu")).c_str(),
                 fmt("%.1f", get(n + " turn")).c_str(), fmt("%.1f", get(n + " turn cpu")).c_str(),
                 fmt("%.0f", get(n + " adopted")).c_str(), o.turns, fmt("%.1f", get(n + " page cpu")).c_str(),
                 fmt("%.2f", ratio).c_str(), verdict(ratio, kPaceTarget).c_str(), fmt("%.2f", wall_ratio).c_str());
  }
  std::fprintf(out, "\n`djpeg -ppm` on the page: %s ms of work (%s ms processor time), %s ms with its start.\n",
               fmt("%.1f", djpeg_work).c_str(), fmt("%.1f", get("djpeg work cpu")).c_str(),
               fmt("%.1f", get("djpeg")).c_str());
  if (memory) {
    const double budget = (2 * page_bytes + view_bytes) / kMiB + kMemoryBudgetMiB;
    const double ahead = get("rss ahead") / 1024, plain = get("rss plain") / 1024;
    std::fprintf(out,
                 "\nPeak memory of `zeb --headless` reading the book in mode 4, in MiB: with read-ahead %s, "
                 "without %s; page bitmap %.1f, view bitmap %.1f, read-ahead bitmap %.1f; "
                 "page + view + read-ahead + %.0f = %.1f (%s).\n",
                 fmt("%.1f", ahead).c_str(), fmt("%.1f", plain).c_str(), page_bytes / kMiB, view_bytes / kMiB,
                 page_bytes / kMiB, kMemoryBudgetMiB, budget,
                 failed(ahead) ? "failed" : verdict(ahead, budget).c_str() + 1);
  }
  return std::fclose(out) == 0;
}

}  // namespace
}  // namespace zeb::bench

int main(int argc, char** argv) {
  using namespace zeb::bench;
  namespace fx = zeb::fixtures;
  BookOptions o;
  if (!parse_book_options(argc, argv, o)) return book_usage("reading_bench");
  fx::TempDir root, settings;
  const std::string page = o.corpus + "/" + o.page, book = root / "book", tiny = root / "tiny.jpg";
  const std::string script = root / "memory.script";
  if (write_book(o, book).empty()) {
    std::fprintf(stderr, "reading_bench: cannot copy %s\n", page.c_str());
    return 1;
  }
  if (!fx::write_jpeg(tiny, 16, 16) || !fx::write_file(script, memory_script(o))) {
    std::fprintf(stderr, "reading_bench: cannot write under %s\n", root.path().c_str());
    return 1;
  }
  Samples samples;
  // Memory first: a child's peak counts at least this process's size.
  if (!o.zeb.empty()) measure_memory(o, root.path(), book, script, samples);
  // Read-ahead on and off in every round, alternating which comes first.
  const bool read = run_rounds(o, tiny, samples, [&](int round) {
    for (const bool read_ahead : {round % 2 == 0, round % 2 != 0})
      if (!read_book(root.path(), settings.path(), book, read_ahead, o, samples)) return false;
    return true;
  });
  if (!read) {
    std::fprintf(stderr, "reading_bench: the viewer cannot read %s\n", page.c_str());
    return 1;
  }
  // The bitmaps of the page in mode 4, as the memory runs hold them.
  ScriptedViewer sv(root.path(), settings.path(), book);
  BitmapBytes bytes;
  if (sv.ready() && sv.run("select 1014 4") && sv.run("dblclick 1003")) bytes = bitmap_bytes(sv.viewer().window);
  return write_report(o, medians_of(samples), bytes.page, bytes.view, !o.zeb.empty()) ? 0 : 1;
}
