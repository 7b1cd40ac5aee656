#pragma once
// The figures of the page benchmark as Markdown tables (for
// docs/performance.md) and as a data file for the plot.
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "bench/bench_util.h"

namespace zeb::bench {

struct PageFigures {
  std::string name;
  int width = 0, height = 0;             // pixels
  std::map<std::string, double> median;  // ms, or KiB for "rss" and "rss tiny"; NaN when a run failed
  double page_bytes = 0, view_bytes = 0; // bitmaps as allocated in mode 4
};

// Targets: ratios of the viewer's time to the tool's work (the memory the
// viewer may use beyond its bitmaps is kMemoryBudgetMiB).
constexpr double kTurnFitTarget = 1.35;   // mode 4 against djpeg
constexpr double kTurnPlainTarget = 1.10; // mode 0 against djpeg
constexpr double kPreviewTarget = 1.10;   // preview against djpeg at 1/8

namespace report_detail {

inline double get(const PageFigures& f, const std::string& key) {
  auto it = f.median.find(key);
  return it == f.median.end() ? kFailed : it->second;
}

inline std::string ms(double value) {
  char text[32];
  std::snprintf(text, sizeof text, failed(value) ? "failed" : "%.1f", value);
  return text;
}

// The work of a tool (its run less its start), with the whole run beside it.
inline std::string tool(const PageFigures& f, const std::string& key) {
  return ms(get(f, key + " work")) + " (" + ms(get(f, key)) + ")";
}

// The ratio of processor times, judged against the target, with the ratio
// of wall times beside it.
inline std::string ratio(const PageFigures& f, const std::string& ours, const std::string& theirs, double target,
                         bool strict) {
  const double cpu_ours = get(f, ours + " cpu"), cpu_theirs = get(f, theirs + " cpu");
  const double wall_ours = get(f, ours), wall_theirs = get(f, theirs);
  if (!(cpu_ours >= 0 && cpu_theirs > 0 && wall_ours >= 0 && wall_theirs > 0)) return "n/a";
  const double r = cpu_ours / cpu_theirs;
  const bool met = strict ? r < target : r <= target;
  char text[64];
  std::snprintf(text, sizeof text, "%.2f %s (wall %.2f)", r, met ? "met" : "**missed**", wall_ours / wall_theirs);
  return text;
}

inline std::string page_label(const PageFigures& f) {
  const bool grey = f.name.find("grey") != std::string::npos;
  const bool progressive = f.name.find("progressive") != std::string::npos;
  return std::to_string(f.width) + "x" + std::to_string(f.height) + (grey ? " grey" : "") +
         (progressive ? " progressive" : "");
}

inline void turn_table(std::string& md, const std::vector<PageFigures>& pages) {
  md += "| Page | mode 0 | mode 0 wide | mode 1 | mode 1 wide | mode 4 | mode 4 wide "
        "| djpeg | convert -resize | vipsthumbnail |\n|---|---|---|---|---|---|---|---|---|---|\n";
  for (const PageFigures& f : pages) {
    md += "| " + page_label(f);
    for (const char* key : {"turn m0", "turn m0 wide", "turn m1", "turn m1 wide", "turn m4", "turn m4 wide"})
      md += " | " + ms(get(f, key));
    md += " | " + tool(f, "djpeg") + " | " + tool(f, "convert") + " | " + tool(f, "vipsthumbnail") + " |\n";
  }
}

inline void ratio_table(std::string& md, const std::vector<PageFigures>& pages) {
  md += "| Page | mode 4 / djpeg (<= 1.35) | mode 0 / djpeg (<= 1.10) | mode 4 / convert (< 1) "
        "| preview / djpeg 1/8 (<= 1.10) |\n|---|---|---|---|---|\n";
  for (const PageFigures& f : pages) {
    md += "| " + page_label(f) + " | " + ratio(f, "turn m4", "djpeg work", kTurnFitTarget, false) + " | " +
          ratio(f, "turn m0", "djpeg work", kTurnPlainTarget, false) + " | " +
          ratio(f, "turn m4", "convert work", 1.0, true) + " | " +
          ratio(f, "preview", "djpeg 1/8 work", kPreviewTarget, false) + " |\n";
  }
}

inline void preview_table(std::string& md, const std::vector<PageFigures>& pages) {
  md += "| Page | preview | djpeg -scale 1/8 -dct fast -nosmooth |\n|---|---|---|\n";
  for (const PageFigures& f : pages)
    md += "| " + page_label(f) + " | " + ms(get(f, "preview")) + " | " + tool(f, "djpeg 1/8") + " |\n";
}

inline std::string mib(double bytes) {
  char text[32];
  std::snprintf(text, sizeof text, failed(bytes) ? "failed" : "%.1f", bytes / kMiB);
  return text;
}

inline void memory_table(std::string& md, const std::vector<PageFigures>& pages) {
  md += "| Page | peak RSS | tiny page run | page bitmap | view bitmap | peak - bitmaps (<= 48) |\n"
        "|---|---|---|---|---|---|\n";
  for (const PageFigures& f : pages) {
    const double peak = get(f, "rss") * 1024, tiny = get(f, "rss tiny") * 1024;
    const double beyond = peak - f.page_bytes - f.view_bytes;
    md += "| " + page_label(f) + " | " + mib(peak) + " | " + mib(tiny) + " | " + mib(f.page_bytes) + " | " +
          mib(f.view_bytes) + " | " + mib(beyond) +
          (beyond <= kMemoryBudgetMiB * kMiB ? " met" : " **missed**") + " |\n";
  }
}

inline void launch_line(std::string& md, const std::vector<PageFigures>& pages) {
  md += "\nStarting the process alone (the same command on a 16 x 16 page), median over all pages:";
  for (const char* key : {"djpeg", "djpeg 1/8", "convert", "vipsthumbnail"}) {
    std::vector<double> starts;
    for (const PageFigures& f : pages) starts.push_back(get(f, std::string(key) + " launch"));
    md += std::string(" ") + key + " " + ms(median(starts)) + " ms;";
  }
  md.back() = '.';
  md += "\n";
}

}  // namespace report_detail

// Writes page_bench.md and page_times.dat into the folder and the tables to
// standard output; false when a file cannot be written.
inline bool write_page_report(const std::vector<PageFigures>& pages, int runs, bool with_memory,
                              const std::string& dir) {
  using namespace report_detail;
  std::string md = "Page turns and the tools, in ms (median of " + std::to_string(runs) +
                   " rounds); for the tools their work, with the whole process in brackets:\n\n";
  turn_table(md, pages);
  launch_line(md, pages);
  md += "\nThe browser's preview against the decoder's one-eighth decode, in ms:\n\n";
  preview_table(md, pages);
  md += "\nRatios of the viewer's processor time to the tools' (targets in brackets), with the ratio of "
        "wall times beside them:\n\n";
  ratio_table(md, pages);
  if (with_memory) {
    md += "\nPeak memory of `zeb --headless` showing the page in mode 4, in MiB:\n\n";
    memory_table(md, pages);
  }
  std::fputs(md.c_str(), stdout);
  std::string data = "# page mode0 mode1 mode4 mode4wide djpeg convert vipsthumbnail (ms)\n";
  for (const PageFigures& f : pages) {
    std::string label = page_label(f);
    for (char& c : label)
      if (c == ' ') c = '_';
    data += "\"" + label + "\"";
    for (const char* key : {"turn m0", "turn m1", "turn m4", "turn m4 wide", "djpeg work", "convert work",
                            "vipsthumbnail work"})
    {
      const double value = get(f, key);
      char number[32];
      std::snprintf(number, sizeof number, failed(value) ? " NaN" : " %.2f", value);
      data += number;
    }
    data += "\n";
  }
  bool ok = true;
  for (const auto& [file, text] : {std::pair{dir + "/page_bench.md", md}, std::pair{dir + "/page_times.dat", data}}) {
    std::FILE* out = std::fopen(file.c_str(), "w");
    ok = out && std::fputs(text.c_str(), out) >= 0 && ok;
    if (out) ok = std::fclose(out) == 0 && ok;
  }
  return ok;
}

}  // namespace zeb::bench
