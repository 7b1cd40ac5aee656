#pragma once
// What the benchmarks that read a book of copies of one corpus page share:
// their options, the book, the samples and their medians, the command-line
// decoder's work on the same page, the memory script, the bitmaps' sizes
// and the figures' formatting.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "bench/bench_util.h"
#include "core/viewer.h"
#include "tools/fixtures/fixtures.h"

namespace zeb::bench {

constexpr char kNextTap[] = "tap 470 500";  // the lower right edge: the next page
constexpr int kBookCopies = 8;              // pages of the book
constexpr int kMemoryRuns = 3;

struct BookOptions {
  std::string corpus;
  std::string page = "3-colour-2480x3508.jpg";
  int runs = 7;
  int turns = 6;
  int idle_ms = 300;
  std::string zeb;  // the program, for the memory runs; none when empty
  std::string report = ".";
  std::string djpeg = "djpeg";
};

// `--corpus DIR [--page NAME] [--runs N] [--turns N] [--idle MS] [--zeb PATH]
// [--report DIR] [--djpeg PATH]` into `o`, whose values stand where an
// option is not given; false when the words are not of that form.
inline bool parse_book_options(int argc, char** argv, BookOptions& o) {
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string arg = argv[i], value = argv[i + 1];
    if (arg == "--corpus") o.corpus = value;
    else if (arg == "--page") o.page = value;
    else if (arg == "--runs") o.runs = std::max(1, std::atoi(value.c_str()));
    else if (arg == "--turns") o.turns = std::max(1, std::atoi(value.c_str()));
    else if (arg == "--idle") o.idle_ms = std::max(0, std::atoi(value.c_str()));
    else if (arg == "--zeb") o.zeb = value;
    else if (arg == "--report") o.report = value;
    else if (arg == "--djpeg") o.djpeg = value;
    else return false;
  }
  return argc % 2 == 1 && !o.corpus.empty();
}

// The name of the book's page `i` (from 0).
inline std::string book_page_name(int i) { return std::to_string(10 + i) + ".jpg"; }

// Writes the book: the copies of the corpus page in `folder` (made when
// missing). The page's bytes; empty when the page cannot be read or a copy
// cannot be written.
inline std::string write_book(const BookOptions& o, const std::string& folder) {
  const std::string page = fixtures::read_file(o.corpus + "/" + o.page);
  if (page.empty() || !fixtures::make_dirs(folder)) return {};
  for (int i = 0; i < kBookCopies; ++i)
    if (!fixtures::write_file(folder + "/" + book_page_name(i), page)) return {};
  return page;
}

// Prints how the bench `program` is called; main returns what this returns.
inline int book_usage(const std::string& program) {
  const std::string indent(program.size() + 8, ' ');
  const std::string text = "usage: " + program + " --corpus DIR [--page NAME] [--runs N] [--turns N] [--idle MS]\n" +
                           indent + "[--zeb PATH] [--report DIR] [--djpeg PATH]\n";
  return usage(text.c_str());
}

// Every sample of every measure, by the measure's name.
using Samples = std::map<std::string, std::vector<double>>;

inline std::map<std::string, double> medians_of(const Samples& samples) {
  std::map<std::string, double> medians;
  for (const auto& [key, values] : samples) medians[key] = median(values);
  return medians;
}

// The decoder's run on the page ("djpeg") and its work: the run less that
// of a tiny page, which is the program's start.
inline void time_djpeg(const BookOptions& o, const std::string& page, const std::string& tiny, Samples& samples) {
  const ProcessResult full = run_process({o.djpeg, "-ppm", "-outfile", "/dev/null", page});
  const ProcessResult start = run_process({o.djpeg, "-ppm", "-outfile", "/dev/null", tiny});
  const bool ok = full.ok && start.ok;
  samples["djpeg"].push_back(full.ok ? full.wall_ms : kFailed);
  samples["djpeg work"].push_back(ok ? full.wall_ms - start.wall_ms : kFailed);
  samples["djpeg work cpu"].push_back(ok ? full.cpu_ms - start.cpu_ms : kFailed);
}

// The rounds: `round` (given the round's number, from 0) o.runs times, each
// followed by the decoder's run on the page, with a dot on standard error
// for each. False at the first round that fails.
template <typename Round>
bool run_rounds(const BookOptions& o, const std::string& tiny, Samples& samples, Round&& round) {
  for (int number = 0; number < o.runs; ++number) {
    if (!round(number)) return false;
    time_djpeg(o, o.corpus + "/" + o.page, tiny, samples);
    std::fprintf(stderr, ".");
  }
  std::fprintf(stderr, "\n");
  return true;
}

// The memory runs' script: the page view in mode 4, a pause, a turn, a
// pause (the next page read ahead).
inline std::string memory_script(const BookOptions& o) {
  const std::string pause = "idle " + std::to_string(o.idle_ms) + "\n";
  return "select 1014 4\ndblclick 1003\n" + pause + kNextTap + "\n" + pause;
}

// The bytes of the shown page's bitmap and of its view (0 without one);
// the page's bytes fail without a page.
struct BitmapBytes {
  double page = kFailed, view = 0;
};
inline BitmapBytes bitmap_bytes(const MainWindow& w) {
  BitmapBytes bytes;
  if (w.page_bitmap) bytes.page = static_cast<double>(w.page_bitmap->stride()) * w.page_bitmap->height();
  if (w.page_bitmap && w.view_bitmap)
    bytes.view = static_cast<double>(w.view_bitmap->stride()) * w.view_bitmap->height();
  return bytes;
}

inline std::string fmt(const char* format, double value) {
  char text[64];
  std::snprintf(text, sizeof text, failed(value) ? "failed" : format, value);
  return text;
}

// " met" or " **missed**" for a value against its limit; nothing for a
// failed value.
inline std::string verdict(double value, double limit) {
  if (failed(value)) return "";
  return value <= limit ? " met" : " **missed**";
}

}  // namespace zeb::bench
