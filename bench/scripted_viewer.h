#pragma once
// A viewer driven through the script front end's own command runner, set up
// the way `zeb --headless` sets it up, so that a timed command costs what it
// costs in the program: the handlers, the page load and the paints that
// follow it. Output of the commands is discarded.
#include <memory>
#include <optional>
#include <ostream>
#include <string>

#include "app/launch.h"
#include "app/startup.h"
#include "bench/bench_util.h"
#include "frontend/script/commands.h"
#include "frontend/script/script_host.h"

namespace zeb::bench {

class ScriptedViewer {
 public:
  // Starts the viewer on a folder or archive (a host path below `root`),
  // with its settings folder in `settings`. ready() tells whether it began.
  // Without read-ahead (the default here) every turn decodes its page, the
  // work the page-turn measures compare with the tools. plain_turns: no page
  // is kept for a turn back or a reload and the view is resampled after the
  // decode, as `--plain-turns` has it.
  ScriptedViewer(const std::string& root, const std::string& settings, const std::string& location,
                 bool read_ahead = false, bool plain_turns = false)
      : null_(nullptr), host_(null_) {
    platform_.host = &host_;
    StartOptions options;
    options.root = root;
    options.settings = settings;
    options.read_ahead = read_ahead;
    options.plain_turns = plain_turns;
    set_up_platform(platform_, options);
    const std::optional<std::u16string> start = platform_.storage.location_of(location);
    if (!start) return;
    viewer_ = std::make_unique<Viewer>(platform_);
    const OpenTarget target{*start, {}};
    open_main_window(*viewer_, &target);
    session_.emplace(script::Session{*viewer_, host_, null_, null_});
  }
  ~ScriptedViewer() {
    if (viewer_) destroy_main_window(*viewer_);
  }
  ScriptedViewer(const ScriptedViewer&) = delete;
  ScriptedViewer& operator=(const ScriptedViewer&) = delete;

  bool ready() const { return session_.has_value() && !platform_.ended; }
  Viewer& viewer() { return *viewer_; }

  // Runs one script line; false when it does not parse or ends the window.
  bool run(const std::string& line) { return !failed(timed(line).wall_ms); }
  // Timing of one script line (parsed beforehand); failed when it does not
  // parse or ends the window.
  Timing timed(const std::string& line) {
    std::string why;
    const std::optional<script::Command> command = script::parse_command(line, why);
    if (!ready() || !command) return {};
    return bench::timed([&] { return script::run_command(*session_, *command); });
  }

 private:
  std::ostream null_;  // no buffer: everything written to it is dropped
  script::ScriptHost host_;
  platform::Platform platform_;
  std::unique_ptr<Viewer> viewer_;
  std::optional<script::Session> session_;
};

}  // namespace zeb::bench
