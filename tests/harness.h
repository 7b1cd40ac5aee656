#pragma once
// Runs the script front end in-process and reads back its JSON Lines.
#include <functional>
#include <istream>
#include <nlohmann/json.hpp>
#include <string>
#include <variant>
#include <vector>

namespace zeb::testing {

struct ScriptRun {
  int status = 0;
  std::vector<nlohmann::json> lines;  // every JSON line printed
  std::string err;
  // The last printed {"state": ...} object's state, or null.
  nlohmann::json last_state() const;
  // Every printed {"state": ...} object's state, in order.
  std::vector<nlohmann::json> states() const;
  // Every printed {"control": ...} object, in order.
  std::vector<nlohmann::json> controls() const;
  std::vector<nlohmann::json> message_boxes() const;
  std::vector<nlohmann::json> menus() const;
};

// Runs `zeb --headless --root ROOT --settings SETTINGS [extra args]` with the
// script text as standard input.
ScriptRun run_script(const std::string& root, const std::string& settings, const std::string& script,
                     const std::vector<std::string>& extra_args = {});
// The same, reading the script from a stream (for scripts that act between
// their lines).
ScriptRun run_script(const std::string& root, const std::string& settings, std::istream& script,
                     const std::vector<std::string>& extra_args = {});

// A script fed one line at a time with actions between the lines: an
// action runs after every command before it has run.
using Step = std::variant<std::string, std::function<void()>>;
ScriptRun run_steps(const std::string& root, const std::string& settings, std::vector<Step> steps,
                    const std::vector<std::string>& extra_args = {});

}  // namespace zeb::testing
