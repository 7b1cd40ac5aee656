// Writes the benchmark corpus: scan-like pages (paper grain and lines of
// text-like strokes) at the sizes readers meet, into a folder. Every page is
// a function of its row below, so the corpus is the same on every run.
//
// make_corpus DIR
#include <cstdio>
#include <string>

#include "tools/fixtures/fixtures.h"

namespace {

struct CorpusPage {
  const char* name;
  int width, height;  // pixels
  int quality;
  bool grey, progressive;
};

// Named so that a listing sorted by name runs from the smallest page up.
constexpr CorpusPage kPages[] = {
    {"1-colour-1200x1600.jpg", 1200, 1600, 90, false, false},      // a comic page
    {"2-grey-1654x2339.jpg", 1654, 2339, 85, true, false},         // A4 at 200 dpi, greyscale
    {"3-colour-2480x3508.jpg", 2480, 3508, 88, false, false},      // A4 at 300 dpi
    {"4-colour-4000x6000.jpg", 4000, 6000, 87, false, false},      // a camera-sized scan
    {"5-progressive-2480x3508.jpg", 2480, 3508, 88, false, true},  // the same size, progressive
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_corpus DIR\n");
    return 2;
  }
  const std::string dir = argv[1];
  if (!zeb::fixtures::make_dirs(dir)) {
    std::fprintf(stderr, "make_corpus: cannot create %s\n", dir.c_str());
    return 1;
  }
  unsigned seed = 11;
  for (const CorpusPage& page : kPages) {
    zeb::fixtures::JpegOptions options;
    options.scan_like = true;
    options.quality = page.quality;
    options.grey = page.grey;
    options.progressive = page.progressive;
    options.seed = seed++;
    const std::string path = dir + "/" + page.name;
    if (!zeb::fixtures::write_jpeg(path, page.width, page.height, options)) {
      std::fprintf(stderr, "make_corpus: cannot write %s\n", path.c_str());
      return 1;
    }
    std::printf("%s\n", path.c_str());
  }
  return 0;
}
