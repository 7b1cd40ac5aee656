// Times what a reader waits for on each page of the corpus, against the
// tools a reader would use instead, all in one run so the ratios hold on a
// busy machine: a page turn through the script front end (load, geometry,
// paint) in zoom modes 0, 1 and 4 with the normal and the wide filter, the
// browser preview, the command-line decoder at full and at one-eighth size,
// an image converter's resize and a thumbnailer, and the peak memory of a
// headless viewer showing the page. Every measure is taken once per round
// and the rounds are repeated, so all of them see the same machine load;
// medians are reported.
//
// page_bench --corpus DIR [--runs N] [--zeb PATH] [--report DIR]
//            [--djpeg PATH] [--convert PATH] [--vipsthumbnail PATH]
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "bench/bench_util.h"
#include "bench/page_report.h"
#include "bench/scripted_viewer.h"
#include "tools/fixtures/fixtures.h"

namespace zeb::bench {
namespace {

namespace fs = std::filesystem;

constexpr char kTurnTap[] = "tap 470 500";  // the lower right edge: next page
constexpr const char* kCopyNames[] = {"/a.jpg", "/b.jpg", "/c.jpg"};  // the page's copies in its book
constexpr int kCopies = static_cast<int>(std::size(kCopyNames));
constexpr int kFitWidth = 480;              // size x of mode 1: the screen's width
constexpr int kMemoryRuns = 3;
// Modes and filters of the timed page turns.
struct TurnSetting {
  int mode;
  bool wide;
};
constexpr TurnSetting kTurns[] = {{0, false}, {0, true}, {1, false}, {1, true}, {4, false}, {4, true}};

struct Options {
  std::string corpus;
  int runs = 7;
  std::string zeb;  // the program, for the memory runs; none when empty
  std::string report = ".";
  std::string djpeg = "djpeg";
  std::string convert;
  std::string vipsthumbnail = "vipsthumbnail";
};

bool parse_options(int argc, char** argv, Options& o) {
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string arg = argv[i], value = argv[i + 1];
    if (arg == "--corpus") o.corpus = value;
    else if (arg == "--runs") o.runs = std::max(1, std::atoi(value.c_str()));
    else if (arg == "--zeb") o.zeb = value;
    else if (arg == "--report") o.report = value;
    else if (arg == "--djpeg") o.djpeg = value;
    else if (arg == "--convert") o.convert = value;
    else if (arg == "--vipsthumbnail") o.vipsthumbnail = value;
    else return false;
  }
  if (argc % 2 == 0 || o.corpus.empty()) return false;
  // Debian names ImageMagick's converter after its version; plain "convert"
  // may be something else on a host.
  if (o.convert.empty()) o.convert = have_program("convert-im6.q16") ? "convert-im6.q16" : "convert";
  return true;
}

// One corpus page with the folders and viewers that time it.
struct PageRig {
  std::string name, file;
  std::unique_ptr<ScriptedViewer> viewing, browsing;
  int width = 0, height = 0;
  std::map<std::string, std::vector<double>> samples;
};

// The page three times in its own folder, turned forward in a ring, so that
// every turn loads it anew: the page a turn goes to is never the page kept
// behind (the one shown before the page it leaves).
bool make_book(const std::string& page, const std::string& folder) {
  std::error_code ec;
  fs::create_directories(folder, ec);
  for (const char* copy : kCopyNames) {
    fs::copy_file(page, folder + copy, fs::copy_options::overwrite_existing, ec);
    if (ec) return false;
  }
  return true;
}

std::string book_folder(const PageRig& rig, const fixtures::TempDir& root) {
  return root / fs::path(rig.name).stem().string();
}

bool start_rig(PageRig& rig, const fixtures::TempDir& root, const fixtures::TempDir& settings) {
  const std::string folder = book_folder(rig, root);
  rig.viewing = std::make_unique<ScriptedViewer>(root.path(), settings.path(), folder);
  rig.browsing = std::make_unique<ScriptedViewer>(root.path(), settings.path(), folder);
  ScriptedViewer& v = *rig.viewing;
  if (!v.ready() || !rig.browsing->ready()) return false;
  // Into the page view on the first page, then once to the second, so that
  // the files have been read before any turn is timed.
  if (!v.run("text 1031 " + std::to_string(kFitWidth)) || !v.run("dblclick 1003") || !v.run(kTurnTap)) return false;
  rig.width = v.viewer().window.page_width;
  rig.height = v.viewer().window.page_height;
  return v.viewer().window.page_bitmap != nullptr;
}

// Keeps the wall time under the key and the processor time under key + " cpu".
void record(PageRig& rig, const std::string& key, const Timing& t) {
  rig.samples[key].push_back(t.wall_ms);
  rig.samples[key + " cpu"].push_back(t.cpu_ms);
}

std::string turn_key(const TurnSetting& t) {
  return "turn m" + std::to_string(t.mode) + (t.wide ? " wide" : "");
}

// One page turn in the given mode; failed when the page did not come up.
Timing time_turn(PageRig& rig, const TurnSetting& t) {
  ScriptedViewer& sv = *rig.viewing;
  Viewer& v = sv.viewer();
  if (!sv.run("select 1014 " + std::to_string(t.mode))) return {};
  if ((v.state.ZOOM_MODE != 0) != t.wide && !sv.run("click 1089")) return {};
  const Timing timing = sv.timed(kTurnTap);
  const bool shown = v.window.page_width == rig.width && v.window.page_bitmap &&
                     (t.mode == 0 || v.window.view_bitmap);
  return shown ? timing : Timing{};
}

// The browser's preview of the next page in the ring (never the preview
// kept behind): a selection in the page list loads it when its delay has
// run out, on the timer tick that is timed.
Timing time_preview(PageRig& rig, int round) {
  ScriptedViewer& sv = *rig.browsing;
  const int ticks = sv.viewer().state.select_delay_ticks;
  if (!sv.run("select 1003 " + std::to_string(round % kCopies))) return {};
  if (ticks > 1 && !sv.run("tick " + std::to_string(ticks - 1))) return {};
  const Timing timing = sv.timed("tick");
  const MainWindow& w = sv.viewer().window;
  return w.page_bitmap && w.page_width > 0 && w.page_width < rig.width ? timing : Timing{};
}

// Wall time of a tool's run, and of the same run on a tiny page: the second
// is what starting the process costs.
void time_tool(PageRig& rig, const std::string& key, std::vector<std::string> argv, size_t page_arg,
               const std::string& tiny) {
  const ProcessResult full = run_process(argv);
  argv[page_arg] = tiny;
  const ProcessResult start = run_process(argv);
  const bool ok = full.ok && start.ok;
  record(rig, key, full.ok ? Timing{full.wall_ms, full.cpu_ms} : Timing{});
  record(rig, key + " launch", start.ok ? Timing{start.wall_ms, start.cpu_ms} : Timing{});
  record(rig, key + " work", ok ? Timing{full.wall_ms - start.wall_ms, full.cpu_ms - start.cpu_ms} : Timing{});
}

void time_tools(PageRig& rig, const Options& o, const std::string& tiny, const std::string& scratch) {
  const std::string& f = rig.file;
  // -rgb: three bytes a pixel for greyscale pages too, as the viewer makes.
  time_tool(rig, "djpeg", {o.djpeg, "-rgb", "-outfile", "/dev/null", f}, 4, tiny);
  time_tool(rig, "djpeg 1/8",
            {o.djpeg, "-rgb", "-scale", "1/8", "-dct", "fast", "-nosmooth", "-outfile", "/dev/null", f}, 9, tiny);
  time_tool(rig, "convert", {o.convert, f, "-resize", "480x640", "ppm:/dev/null"}, 1, tiny);
  time_tool(rig, "vipsthumbnail", {o.vipsthumbnail, f, "-s", "480x640", "-o", scratch + "/thumb.ppm"}, 1, tiny);
}

// Peak resident memory of `zeb --headless` showing the page in mode 4, and
// of the same run on a tiny page. A child's peak as the kernel reports it
// is at least the parent's size when it was started, so these runs come
// before this process holds any page.
void measure_memory(PageRig& rig, const Options& o, const fixtures::TempDir& root, const std::string& script,
                    const std::string& tiny_folder) {
  const std::string settings = root / "zeb-settings";
  auto peak = [&](const std::string& folder) {
    const ProcessResult r = run_process(
        {o.zeb, "--headless", "--no-read-ahead", "--root", root.path(), "--settings", settings, folder}, script);
    return r.ok ? static_cast<double>(r.max_rss_kib) : kFailed;
  };
  for (int i = 0; i < kMemoryRuns; ++i) {
    rig.samples["rss"].push_back(peak(book_folder(rig, root)));
    rig.samples["rss tiny"].push_back(peak(tiny_folder));
  }
}

// The view bitmap's bytes in mode 4, for the memory budget.
void record_bitmap_sizes(PageRig& rig, PageFigures& figures) {
  time_turn(rig, TurnSetting{4, false});
  const MainWindow& w = rig.viewing->viewer().window;
  figures.page_bytes = w.page_bitmap ? static_cast<double>(w.page_bitmap->stride()) * w.page_bitmap->height() : 0;
  figures.view_bytes = w.view_bitmap ? static_cast<double>(w.view_bitmap->stride()) * w.view_bitmap->height() : 0;
}

std::vector<std::string> corpus_pages(const std::string& dir) {
  std::vector<std::string> names;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(dir, ec))
    if (entry.path().extension() == ".jpg") names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

void run_round(std::vector<PageRig>& rigs, const Options& o, int round, const fixtures::TempDir& root,
               const std::string& tiny) {
  for (PageRig& rig : rigs) {
    for (const TurnSetting& t : kTurns) record(rig, turn_key(t), time_turn(rig, t));
    record(rig, "preview", time_preview(rig, round));
    time_tools(rig, o, tiny, root.path());
    std::fprintf(stderr, ".");
  }
}

}  // namespace
}  // namespace zeb::bench

int main(int argc, char** argv) {
  using namespace zeb::bench;
  Options o;
  if (!parse_options(argc, argv, o))
    return usage(
        "usage: page_bench --corpus DIR [--runs N] [--zeb PATH] [--report DIR]\n"
        "                  [--djpeg PATH] [--convert PATH] [--vipsthumbnail PATH]\n");
  zeb::fixtures::TempDir root, settings;
  const std::string tiny = root / "tiny/tiny.jpg";
  zeb::fixtures::JpegOptions small;
  small.scan_like = true;
  const std::string memory_script = root / "memory.script";
  if (!zeb::fixtures::make_dirs(root / "tiny") || !zeb::fixtures::write_jpeg(tiny, 16, 16, small) ||
      !zeb::fixtures::write_file(memory_script, "select 1014 4\ndblclick 1003\n")) {
    std::fprintf(stderr, "page_bench: cannot write under %s\n", root.path().c_str());
    return 1;
  }
  const std::vector<std::string> pages = corpus_pages(o.corpus);
  std::vector<PageRig> rigs(pages.size());
  for (size_t i = 0; i < rigs.size(); ++i) {
    rigs[i].name = pages[i];
    rigs[i].file = o.corpus + "/" + rigs[i].name;
    if (!make_book(rigs[i].file, book_folder(rigs[i], root))) {
      std::fprintf(stderr, "page_bench: cannot copy %s\n", rigs[i].file.c_str());
      return 1;
    }
  }
  if (rigs.empty()) {
    std::fprintf(stderr, "page_bench: no pages in %s\n", o.corpus.c_str());
    return 1;
  }
  if (!o.zeb.empty())
    for (PageRig& rig : rigs) measure_memory(rig, o, root, memory_script, root / "tiny");
  for (PageRig& rig : rigs) {
    if (!start_rig(rig, root, settings)) {
      std::fprintf(stderr, "page_bench: the viewer cannot show %s\n", rig.name.c_str());
      return 1;
    }
  }
  for (int round = 0; round < o.runs; ++round) run_round(rigs, o, round, root, tiny);
  std::fprintf(stderr, "\n");
  std::vector<PageFigures> figures;
  for (PageRig& rig : rigs) {
    PageFigures f;
    f.name = rig.name;
    f.width = rig.width;
    f.height = rig.height;
    for (const auto& [key, samples] : rig.samples) f.median[key] = median(samples);
    record_bitmap_sizes(rig, f);
    figures.push_back(f);
  }
  return write_page_report(figures, o.runs, !o.zeb.empty(), o.report) ? 0 : 1;
}
