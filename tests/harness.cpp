#include "tests/harness.h"

#include <sstream>
#include <streambuf>

#include "frontend/script/script.h"

namespace zeb::testing {
namespace {

std::vector<nlohmann::json> pick(const std::vector<nlohmann::json>& lines, const char* key) {
  std::vector<nlohmann::json> found;
  for (const auto& line : lines)
    if (line.contains(key)) found.push_back(line[key]);
  return found;
}

class StepBuffer : public std::streambuf {
 public:
  explicit StepBuffer(std::vector<Step> steps) : steps_(std::move(steps)) {}

 protected:
  int_type underflow() override {
    while (next_ < steps_.size()) {
      Step& step = steps_[next_++];
      if (auto* action = std::get_if<std::function<void()>>(&step)) {
        (*action)();
        continue;
      }
      line_ = std::get<std::string>(step) + "\n";
      setg(line_.data(), line_.data(), line_.data() + line_.size());
      return traits_type::to_int_type(line_[0]);
    }
    return traits_type::eof();
  }

 private:
  std::vector<Step> steps_;
  std::size_t next_ = 0;
  std::string line_;
};

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

ScriptRun run_steps(const std::string& root, const std::string& settings, std::vector<Step> steps,
                    const std::vector<std::string>& extra_args) {
  StepBuffer buffer(std::move(steps));
  std::istream in(&buffer);
  return run_script(root, settings, in, extra_args);
}

}  // namespace zeb::testing
