#pragma once
// Parsing and running of one script line.
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "app/pointer.h"
#include "core/viewer.h"
#include "frontend/script/script_host.h"
#include "host/instance.h"

namespace zeb::script {

struct Command {
  std::string name;
  std::vector<long long> numbers;  // numeric arguments
  std::string word;                // a keyword argument (yes/no/none/down/up/press)
  std::string text;                // a STRING argument: the rest of the line
};

// Parses a line; on failure returns nullopt and sets why.
std::optional<Command> parse_command(const std::string& line, std::string& why);

// Everything a running script touches.
struct Session {
  Viewer& viewer;
  ScriptHost& host;
  std::ostream& out;
  std::ostream& err;
  // Serves the locations later starts hand over, before each tick.
  platform::InstanceGuard* guard = nullptr;
  // Where the last stylus press went; without a press, moves and releases
  // reach the window.
  Press press{Press::To::window, 0};
};

// Runs one command; false when the main window has ended.
bool run_command(Session& session, const Command& cmd);

}  // namespace zeb::script
