// zeb: the window front end, or the script front end with --headless.
#include <iostream>
#include <string>
#include <vector>

#include "frontend/script/script.h"
#ifdef ZEB_HAVE_SDL
#include "frontend/sdl/sdl_front_end.h"
#endif

namespace {

void print_help() {
  std::cout << "Usage: zeb [--scale N] [--root DIR] [--settings DIR] [--no-read-ahead] [LOCATION]\n"
               "       zeb --headless [--script FILE|-] [--root DIR] [--settings DIR] [--no-read-ahead]\n"
               "                      [LOCATION]\n"
               "\n"
               "A page viewer for scanned books and comics: JPEG pages from folders and\n"
               "ZIP archives on a 480 x 640 screen.\n"
               "\n"
               "  LOCATION        a folder or .zip/.cbz archive to open instead of the last one\n"
               "  --root DIR      the storage root the viewer's paths start from (default /)\n"
               "  --settings DIR  the folder that holds ZEB_CFG (default: beside the program)\n"
               "  --scale N       window scale factor (default: the largest that fits)\n"
               "  --no-read-ahead do not decode the next page while the current one is read\n"
               "  --headless      run without a window, commands from --script (default stdin),\n"
               "                  JSON Lines on standard output (see docs/scripting.md)\n"
               "  --help, --version\n";
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  bool headless = false;
  for (const auto& a : args) {
    if (a == "--help" || a == "-h") { print_help(); return 0; }
    if (a == "--version") { std::cout << "zeb " << ZEB_VERSION << '\n'; return 0; }
    if (a == "--headless") headless = true;
  }
  if (headless) return zeb::script::run(args, std::cin, std::cout, std::cerr);
#ifdef ZEB_HAVE_SDL
  return zeb::sdl::run(args);
#else
  std::cerr << "zeb: built without the window front end; use zeb --headless\n";
  return 2;
#endif
}
