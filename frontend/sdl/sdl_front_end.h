#pragma once
// The window front end: the viewer in an SDL2 window.
#include <string>
#include <vector>

namespace zeb::sdl {
// args: the command-line words after the program name
// (`[--scale N] [--root DIR] [--settings DIR] [LOCATION]`). Returns the exit
// status: 2 when no window can be opened (the headless mode still works).
int run(const std::vector<std::string>& args);
}  // namespace zeb::sdl
