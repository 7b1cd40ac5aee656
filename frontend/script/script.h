#pragma once
// The headless script front end: runs the viewer with commands from a
// script and prints JSON Lines (see docs/scripting.md).
#include <iosfwd>
#include <string>
#include <vector>

namespace zeb::script {
// args: the command-line words after the program name (with --headless).
// Returns the exit status.
int run(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err);
}  // namespace zeb::script
