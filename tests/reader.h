#pragma once
// A viewer in the test's own process, started on a location the way
// `zeb --headless` starts it and driven through the script front end's own
// command runner, so a test can look at what the script cannot print.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

#include "app/controls.h"
#include "app/messages.h"
#include "app/open_target.h"
#include "app/startup.h"
#include "frontend/script/commands.h"
#include "frontend/script/script_host.h"
#include "frontend/script/state_json.h"
#include "host/files.h"
#include "tools/fixtures/fixtures.h"

namespace zeb {

// A viewer started on a location the way `zeb --headless` starts it, driven
// through the script front end's own command runner.
class Reader {
 public:
  // plain_turns: every load decodes its page and resamples after it, as
  // `--plain-turns` has it.
  Reader(const std::string& root, const std::string& location, bool read_ahead, bool plain_turns = false)
      : null_(nullptr), host_(null_) {
    platform_.host = &host_;
    platform_.storage = platform::Storage(root);
    platform_.read_ahead = read_ahead;
    platform_.keep_pages = !plain_turns;
    platform_.view_while_decoding = !plain_turns;
    platform_.app_dir_host = platform::resolve_app_dir(settings_.path());
    viewer_ = std::make_unique<Viewer>(platform_);
    create_controls(*viewer_);
    const std::optional<std::u16string> start = platform_.storage.location_of(location);
    const std::optional<OpenTarget> target = start ? std::optional<OpenTarget>(OpenTarget{*start, {}}) : std::nullopt;
    initialise_main_window(*viewer_, target ? &*target : nullptr);
    pump(*viewer_);
    session_.emplace(script::Session{*viewer_, host_, null_, null_});
  }
  ~Reader() { destroy_main_window(*viewer_); }

  void run(const std::string& line) {
    std::string why;
    const std::optional<script::Command> command = script::parse_command(line, why);
    ASSERT_TRUE(command) << why;
    script::run_command(*session_, *command);
  }
  Viewer& viewer() { return *viewer_; }
  const platform::Bitmap& screen() const { return *platform_.screen; }

  // What a reader or the settings could tell apart: the state as the script
  // prints it (but for the settings folder, each reader's own), the screen,
  // and the pixels of both bitmaps.
  nlohmann::json snapshot() const {
    const MainWindow& w = viewer_->window;
    nlohmann::json state = script::state_json(*viewer_);
    state.erase("app_dir");
    return {{"state", state},
            {"screen", digest(*platform_.screen)},
            {"page", w.page_bitmap ? digest(*w.page_bitmap) : 0},
            {"view", w.view_bitmap ? digest(*w.view_bitmap) : 0}};
  }

  static size_t digest(const platform::Bitmap& b) {
    const std::string_view bytes(reinterpret_cast<const char*>(b.bits()), static_cast<size_t>(b.stride()) * b.height());
    return std::hash<std::string_view>{}(bytes) ^ static_cast<size_t>(b.width()) << 1;
  }

 private:
  fixtures::TempDir settings_;
  std::ostream null_;  // no buffer: the printed lines are dropped
  script::ScriptHost host_;
  platform::Platform platform_;
  std::unique_ptr<Viewer> viewer_;
  std::optional<script::Session> session_;
};

}  // namespace zeb
