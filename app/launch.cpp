// The start both front ends share. The order of the steps is what the
// reader sees: a location that does not exist is refused before anything
// is claimed; a second start hands its location over before the location
// is checked against the root, since the running viewer maps it through its
// own; only then does the front end open.
#include "app/launch.h"

#include <memory>
#include <ostream>

#include "app/controls.h"
#include "app/messages.h"
#include "app/startup.h"
#include "host/files.h"

namespace zeb {
namespace {

bool location_exists(const StartOptions& o) {
  return !o.location || platform::host_dir_exists(*o.location) || platform::host_file_exists(*o.location);
}

// The main window's life once the start is decided.
int run_main_window(platform::Platform& platform, const OpenTarget* target, platform::InstanceGuard& guard,
                    FrontEnd& front) {
  if (!front.open()) return 2;
  auto viewer = std::make_unique<Viewer>(platform);
  front.attach(*viewer, guard);
  open_main_window(*viewer, target);
  const int status = front.serve(*viewer);
  destroy_main_window(*viewer);
  front.detach();
  return status;
}

}  // namespace

OptionTaken take_start_option(const std::vector<std::string>& args, std::size_t& i, StartOptions& o,
                              std::ostream& err) {
  const std::string& a = args[i];
  if (a == "--no-read-ahead") {
    o.read_ahead = false;
    return OptionTaken::yes;
  }
  if (a == "--plain-turns") {
    o.plain_turns = true;
    return OptionTaken::yes;
  }
  std::string* value = a == "--root" ? &o.root : a == "--settings" ? &o.settings : nullptr;
  if (!value) return OptionTaken::no;
  if (i + 1 >= args.size()) {
    err << "zeb: " << a << " needs a value\n";
    return OptionTaken::refused;
  }
  *value = args[++i];
  return OptionTaken::yes;
}

bool take_location(const std::string& word, StartOptions& o, std::ostream& err) {
  if (o.location) {
    err << "zeb: only one location may be given\n";
    return false;
  }
  o.location = word;
  return true;
}

void set_up_platform(platform::Platform& platform, const StartOptions& o) {
  platform.storage = platform::Storage(o.root);
  platform.read_ahead = o.read_ahead;
  platform.keep_pages = !o.plain_turns;
  platform.view_while_decoding = !o.plain_turns;
  platform.app_dir_host = platform::resolve_app_dir(o.settings);
}

void open_main_window(Viewer& v, const OpenTarget* target) {
  create_controls(v);
  initialise_main_window(v, target);
  pump(v);
}

int launch(const StartOptions& o, FrontEnd& front, std::ostream& err) {
  platform::Platform platform;
  platform.host = &front.host();
  set_up_platform(platform, o);
  if (!location_exists(o)) {
    err << "zeb: " << *o.location << " does not exist\n";
    return 2;
  }
  // Two viewers must never share one set of settings files: a later start
  // hands its location to the running one (or only raises it) and ends.
  platform::InstanceGuard guard(platform.app_dir_host + "/" + platform::kSettingsFolderName, o.location.value_or(""));
  if (guard.already_running()) {
    front.handed_over();
    return 0;
  }
  std::optional<OpenTarget> target;
  std::string why;
  if (o.location && !(target = open_target_of(platform.storage, *o.location, why))) {
    err << "zeb: " << why << '\n';
    return 2;
  }
  return run_main_window(platform, target ? &*target : nullptr, guard, front);
}

}  // namespace zeb
