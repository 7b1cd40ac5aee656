// The headless front end: the same main window, timer, paint and controls
// as the window, driven by a script instead of a person.
#include <fstream>
#include <iostream>
#include <optional>

#include "app/launch.h"
#include "frontend/script/commands.h"
#include "frontend/script/script.h"
#include "frontend/script/script_host.h"

namespace zeb::script {
namespace {

struct Options {
  std::string script = "-";
  StartOptions start;
};

bool parse_options(const std::vector<std::string>& args, Options& o, std::ostream& err) {
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--headless") continue;
    const OptionTaken taken = take_start_option(args, i, o.start, err);
    if (taken == OptionTaken::refused) return false;
    if (taken == OptionTaken::yes) continue;
    if (a == "--script") {
      if (i + 1 >= args.size()) {
        err << "zeb: " << a << " needs a value\n";
        return false;
      }
      o.script = args[++i];
    } else if (!a.empty() && a[0] == '-' && a != "-") {
      err << "zeb: unknown option " << a << '\n';
      return false;
    } else if (!take_location(a, o.start, err)) return false;
  }
  return true;
}

int run_lines(Session& session, std::istream& in, std::ostream& err) {
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const size_t first = line.find_first_not_of(" \t");
    if (first == std::string::npos || line[first] == '#') continue;
    std::string why;
    auto cmd = parse_command(line, why);
    if (!cmd) {
      err << "line " << number << ": " << why << '\n';
      return 2;
    }
    if (!run_command(session, *cmd)) return 0;
  }
  return 0;
}

// The script's input and output: its commands in, JSON Lines out, the
// message boxes and menus answered from the script.
class ScriptFrontEnd : public FrontEnd {
 public:
  ScriptFrontEnd(std::istream& script, std::ostream& out, std::ostream& err)
      : script_(script), out_(out), err_(err), host_(out) {}
  platform::Host& host() override { return host_; }
  void handed_over() override { out_ << "{\"already_running\":true}\n"; }
  void attach(Viewer&, platform::InstanceGuard& guard) override { guard_ = &guard; }
  int serve(Viewer& v) override {
    Session session{v, host_, out_, err_, guard_};
    return v.platform.ended ? 0 : run_lines(session, script_, err_);
  }

 private:
  std::istream& script_;
  std::ostream& out_;
  std::ostream& err_;
  ScriptHost host_;
  platform::InstanceGuard* guard_ = nullptr;
};

}  // namespace

int run(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err) {
  Options o;
  if (!parse_options(args, o, err)) return 2;
  std::ifstream file;
  std::istream* script = &in;
  if (o.script != "-") {
    file.open(o.script);
    if (!file) { err << "zeb: cannot read script " << o.script << '\n'; return 2; }
    script = &file;
  }
  ScriptFrontEnd front(*script, out, err);
  const int status = launch(o.start, front, err);
  out.flush();
  return status;
}

}  // namespace zeb::script
