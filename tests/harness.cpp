#include "tests/harness.h"

#include <sstream>

#include "frontend/script/script.h"

namespace zeb::testing {
namespace {

std::vector<nlohmann::json> pick(const std::vector<nlohmann::json>& lines, const char* key) {
  std::vector<nlohmann::json> found;
  for (const auto& line : lines)
    if (line.contains(key)) found.push_back(line[key]);
  return found;
}

}  // namespace

nlohmann::json ScriptRun::last_state() const {
  auto states = pick(lines, "state");
  return states.empty() ? nlohmann::json() : states.back();
}

std::vector<nlohmann::json> ScriptRun::states() const { return pick(lines, "state"); }
std::vector<nlohmann::json> ScriptRun::controls() const { return pick(lines, "control"); }
std::vector<nlohmann::json> ScriptRun::message_boxes() const { return pick(lines, "message_box"); }
std::vector<nlohmann::json> ScriptRun::menus() const { return pick(lines, "menu"); }

ScriptRun run_script(const std::string& root, const std::string& settings, const std::string& script,
                     const std::vector<std::string>& extra_args) {
  std::istringstream in(script);
  return run_script(root, settings, in, extra_args);
}

ScriptRun run_script(const std::string& root, const std::string& settings, std::istream& in,
                     const std::vector<std::string>& extra_args) {
  std::vector<std::string> args = {"--headless", "--root", root, "--settings", settings};
  args.insert(args.end(), extra_args.begin(), extra_args.end());
  std::ostringstream out, err;
  ScriptRun run;
  run.status = zeb::script::run(args, in, out, err);
  run.err = err.str();
  std::istringstream printed(out.str());
  for (std::string line; std::getline(printed, line);)
    if (!line.empty()) run.lines.push_back(nlohmann::json::parse(line));
  return run;
}

}  // namespace zeb::testing
