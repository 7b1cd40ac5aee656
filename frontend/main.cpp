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
  std::cout << "Usage: zeb [--scale N] [--fullscreen] [--rotate DEG] [--root DIR] [--settings DIR]\n"
               "           [--renderer software|accelerated] [--no-read-ahead] [--plain-turns] [PATH]\n"
               "       zeb --headless [--script FILE|-] [--root DIR] [--settings DIR] [--no-read-ahead]\n"
               "           [--plain-turns] [PATH]\n"
               "\n"
               "A page viewer for scanned books and comics: JPEG pages from folders and\n"
               "ZIP archives on a 480 x 640 screen, shown scaled to the window.\n"
               "\n"
               "  PATH            a folder or .zip/.cbz archive to open instead of the last\n"
               "                  one, or a JPEG page to show with its folder. When ZEB\n"
               "                  already runs, PATH is handed to it and this start ends.\n"
               "  --root DIR      the storage root the viewer's paths start from (default /)\n"
               "  --settings DIR  the folder that holds ZEB_CFG. Default: beside the program\n"
               "                  when a ZEB_CFG folder stands there (a portable copy) or when\n"
               "                  it runs from its build tree; otherwise $XDG_CONFIG_HOME/zeb\n"
               "                  (~/.config/zeb)\n"
               "  --scale N       window size: N times the screen (default: the largest that\n"
               "                  fits); the window can be resized and maximised\n"
               "  --fullscreen    start full screen (F11 switches)\n"
               "  --rotate DEG    turn the screen 90, 180 or 270 degrees clockwise, for\n"
               "                  landscape displays\n"
               "  --renderer software|accelerated\n"
               "                  how the window is drawn: SDL's software renderer, or the\n"
               "                  accelerated one (OpenGL). Default: accelerated, unless its\n"
               "                  OpenGL driver draws on the processor (llvmpipe and the like)\n"
               "  --no-read-ahead do not decode the next page while the current one is read\n"
               "  --plain-turns   keep no page left for a turn back or a reload, and resample\n"
               "                  a page only after it is decoded (for comparisons)\n"
               "  --headless      run without a window, commands from --script (default stdin),\n"
               "                  JSON Lines on standard output (see docs/scripting.md)\n"
               "  --help, --version\n"
               "\n"
               "Keys: PageDown or Space next page, PageUp previous page, Home and End the\n"
               "first and last page, the wheel turns pages; F1-F4 are the buttons A, B, C\n"
               "and Start; Escape goes back; F11 full screen.\n"
               "Gamepad: A, B, X, Start are the buttons A, B, C, Start, the D-pad the\n"
               "arrows; the right shoulder button is PageDown, the left one PageUp.\n";
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
