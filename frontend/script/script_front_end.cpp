// The headless front end: the same main window, timer, paint and controls
// as the window, driven by a script instead of a person.
#include <fstream>
#include <iostream>
#include <memory>
#include <optional>

#include "app/controls.h"
#include "app/messages.h"
#include "app/open_target.h"
#include "app/startup.h"
#include "frontend/script/commands.h"
#include "frontend/script/script.h"
#include "frontend/script/script_host.h"
#include "host/files.h"
#include "host/instance.h"
#include "host/text.h"

namespace zeb::script {
namespace {

struct Options {
  std::string script = "-";
  std::string root = "/";
  std::string settings;
  std::optional<std::string> location;
  bool read_ahead = true;
  bool plain_turns = false;
};

bool parse_options(const std::vector<std::string>& args, Options& o, std::ostream& err) {
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    auto value = [&](std::string& into) {
      if (i + 1 >= args.size()) { err << "zeb: " << a << " needs a value\n"; return false; }
      into = args[++i];
      return true;
    };
    if (a == "--headless") continue;
    if (a == "--no-read-ahead") {
      o.read_ahead = false;
      continue;
    }
    if (a == "--plain-turns") {
      o.plain_turns = true;
      continue;
    }
    if (a == "--script") { if (!value(o.script)) return false; }
    else if (a == "--root") { if (!value(o.root)) return false; }
    else if (a == "--settings") { if (!value(o.settings)) return false; }
    else if (!a.empty() && a[0] == '-' && a != "-") { err << "zeb: unknown option " << a << '\n'; return false; }
    else if (o.location) { err << "zeb: only one location may be given\n"; return false; }
    else o.location = a;
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
  ScriptHost host(out);
  platform::Platform platform;
  platform.host = &host;
  platform.storage = platform::Storage(o.root);
  platform.read_ahead = o.read_ahead;
  platform.keep_pages = !o.plain_turns;
  platform.view_while_decoding = !o.plain_turns;
  platform.app_dir_host = platform::resolve_app_dir(o.settings);
  if (o.location && !platform::host_dir_exists(*o.location) && !platform::host_file_exists(*o.location)) {
    err << "zeb: " << *o.location << " does not exist\n";
    return 2;
  }
  // Two viewers must never share one set of settings files: a later start
  // hands its location to the running one.
  platform::InstanceGuard guard(platform.app_dir_host + "/" + platform::kSettingsFolderName, o.location.value_or(""));
  if (guard.already_running()) {
    out << "{\"already_running\":true}\n";
    return 0;
  }
  std::optional<OpenTarget> target;
  std::string why;
  if (o.location && !(target = open_target_of(platform.storage, *o.location, why))) {
    err << "zeb: " << why << '\n';
    return 2;
  }

  auto viewer = std::make_unique<Viewer>(platform);
  create_controls(*viewer);
  initialise_main_window(*viewer, target ? &*target : nullptr);
  pump(*viewer);
  Session session{*viewer, host, out, err, &guard};
  const int status = platform.ended ? 0 : run_lines(session, *script, err);
  destroy_main_window(*viewer);
  out.flush();
  return status;
}

}  // namespace zeb::script
