// What saving the reader's place when the reader settles costs the
// user-interface thread. A viewer in the page view of a book of scan-sized
// pages, its settings on the disk of the machine (a real flush), is driven
// through the same tick as the window, tick by tick without waiting for the
// writer. Each round: a turn with no save under way; ten ticks, the tenth
// handing the save to the writer; at once a second turn, while the writer
// writes; then a tick at rest. Reported per history length (the default
// 50 pairs, and a long one of 20000 pairs, 1.3 MB): the exit's two byte
// builders on their own, a tick at rest, the settle tick, both turns, and
// how long the save took beside them. Processor times are the thread's own.
//
// settle_save_bench [--runs N] [--dir DIR]   (DIR: where the book and its
// settings are written; default a new folder under /tmp)
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "app/messages.h"
#include "bench/bench_util.h"
#include "bench/scripted_viewer.h"
#include "settings/bookmarks.h"
#include "settings/config.h"
#include "settings/settle_save.h"
#include "tools/fixtures/fixtures.h"

namespace zeb::bench {
namespace {

namespace fs = std::filesystem;

constexpr char kTurnTap[] = "tap 470 500";  // the lower right edge: next page
constexpr int kPages = 40;

using Samples = std::map<std::string, std::vector<double>>;

// A configuration that opens the book and keeps `pairs` history pairs, and
// a history of that many other books before it.
void write_settings(const std::string& dir, int pairs) {
  fixtures::make_dirs(dir + "/ZEB_CFG");
  std::string cfg =
      "x=0\r\nx=0\r\nLastDir=\\book\r\nv_mode=0\r\nud_lop=0\r\nlr_lop=0\r\nr_top=1\r\nu_top=0\r\n"
      "v_left=0\r\nText1=240\r\nText2=320\r\nlr_mir=1\r\nud_mir=1\r\nSlideShow=20\r\nLR_BT=0\r\n"
      "SO_CH=0\r\nSO_CHF=0\r\nMAX_SP=64\r\nSC_MODE=0\r\nLastFName=\r\nZOOM_MODE=0\r\nRSC=0\r\n";
  cfg += "MAX_BLOG=" + std::to_string(pairs) + "\r\n";
  std::string history;
  for (int i = 1; i < pairs; ++i)
    history += "\\Comics\\Series " + std::to_string(i) + "\\Volume 01\r\npage " + std::to_string(i % 200) + ".jpg\r\n";
  fixtures::write_file(dir + "/ZEB_CFG/zeb.cfg", cfg);
  fixtures::write_file(dir + "/ZEB_CFG/auto_bk.dat", history);
}

template <typename Run>
Timing timed_call(Run&& run) {
  return timed([&] {
    run();
    return true;
  });
}

void add(Samples& s, const std::string& name, const Timing& t) {
  s[name].push_back(t.wall_ms);
  s[name + " cpu"].push_back(t.cpu_ms);
}

// One round as described at the top; false when the viewer stopped.
bool round_trip(ScriptedViewer& sv, Samples& s) {
  Viewer& v = sv.viewer();
  for (int i = 0; i < kSettleTicks; ++i) timer_tick(v);  // the last round's turn settles
  wait_for_settle_save(v);
  add(s, "tick at rest", timed_call([&] { timer_tick(v); }));
  add(s, "build", timed_call([&] { return configuration_bytes(v).size() + bookmark_bytes(v.dialog).size(); }));
  add(s, "turn", sv.timed(kTurnTap));
  add(s, "tick after turn", timed_call([&] { timer_tick(v); }));
  for (int i = 2; i < kSettleTicks; ++i) timer_tick(v);
  const SettleSaveCounts before = settle_save_counts(v);
  const double handed = now_ms();
  add(s, "settle tick", timed_call([&] { timer_tick(v); }));
  add(s, "turn during save", sv.timed(kTurnTap));
  s["save under way after turn"].push_back(settle_save_counts(v).files_written < before.files_written + 2 ? 1 : 0);
  wait_for_settle_save(v);
  s["save"].push_back(now_ms() - handed);
  const SettleSaveCounts after = settle_save_counts(v);
  return after.saves == before.saves + 1 && after.files_written == before.files_written + 2 && sv.ready();
}

std::string fmt(double wall, double cpu) {
  char text[64];
  if (failed(wall)) return "failed";
  std::snprintf(text, sizeof text, "%.3f (%.3f)", wall, cpu);
  return text;
}

}  // namespace
}  // namespace zeb::bench

int main(int argc, char** argv) {
  using namespace zeb::bench;
  int runs = 15;
  std::string dir;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string arg = argv[i];
    if (arg == "--runs") runs = std::max(1, std::atoi(argv[i + 1]));
    else if (arg == "--dir") dir = argv[i + 1];
    else return usage("settle_save_bench [--runs N] [--dir DIR]\n");
  }
  if (dir.empty()) {
    char pattern[] = "/tmp/zeb-settle-bench-XXXXXX";
    if (!mkdtemp(pattern)) return 1;
    dir = pattern;
  }
  zeb::fixtures::make_dirs(dir + "/lib/book");
  for (int i = 1; i <= kPages; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "/lib/book/%03d.jpg", i);
    zeb::fixtures::write_jpeg(dir + name, 1200, 1600,
                              {.number = i, .scan_like = true, .seed = static_cast<unsigned>(i)});
  }
  std::printf("Median of %d rounds, wall ms (the user-interface thread's processor ms):\n\n", runs);
  std::printf(
      "| History | both files' bytes built | tick at rest | first tick after a turn | "
      "settle tick (hands the save over) | turn | turn during the save | save, hand-over to disk | "
      "turns that ended with the save under way |\n");
  std::printf("|---|---|---|---|---|---|---|---|---|\n");
  for (const int pairs : {50, 20000}) {
    const std::string settings = dir + "/settings-" + std::to_string(pairs);
    write_settings(settings, pairs);
    Samples s;
    {
      ScriptedViewer sv(dir + "/lib", settings, dir + "/lib/book");
      if (!sv.ready() || !sv.run("dblclick 1003")) return 1;
      for (int r = 0; r < runs; ++r)
        if (!round_trip(sv, s)) return 1;
    }
    auto m = [&](const std::string& key) { return fmt(median(s[key]), median(s[key + " cpu"])); };
    int overlapped = 0;
    for (double under_way : s["save under way after turn"]) overlapped += static_cast<int>(under_way);
    const auto history_bytes = fs::file_size(settings + "/ZEB_CFG/auto_bk.dat");
    std::printf("| %d pairs (%.1f KB) | %s | %s | %s | %s | %s | %s | %.1f | %d of %d |\n", pairs,
                static_cast<double>(history_bytes) / 1024.0, m("build").c_str(), m("tick at rest").c_str(),
                m("tick after turn").c_str(), m("settle tick").c_str(), m("turn").c_str(),
                m("turn during save").c_str(), median(s["save"]), overlapped, runs);
  }
  if (dir.rfind("/tmp/zeb-settle-bench-", 0) == 0) fs::remove_all(dir);
  return 0;
}
