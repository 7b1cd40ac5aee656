#pragma once
// The platform's message boxes, pop-up menus and foreground test, answered
// inside the window.
#include "core/services.h"
#include "frontend/sdl/session.h"

namespace zeb::sdl {

class WindowHost : public platform::Host {
 public:
  void attach(Session* session) { session_ = session; }
  bool message_box(const std::u16string& text, const std::u16string& caption) override {
    return session_ && session_->ask(text, caption);
  }
  int track_popup_menu(const std::vector<platform::MenuItem>& items) override {
    return session_ ? session_->choose(items) : 0;
  }
  bool foreground_window_exists() override { return !session_ || session_->has_focus(); }

 private:
  Session* session_ = nullptr;
};

}  // namespace zeb::sdl
