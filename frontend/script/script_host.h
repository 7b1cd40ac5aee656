#pragma once
// The platform's modal services answered from the script: queued answers
// for message boxes and menus, and the foreground test's reply.
#include <deque>
#include <optional>
#include <ostream>

#include "core/services.h"

namespace zeb::script {

class ScriptHost : public platform::Host {
 public:
  explicit ScriptHost(std::ostream& out) : out_(out) {}
  bool message_box(const std::u16string& text, const std::u16string& caption) override;
  int track_popup_menu(const std::vector<platform::MenuItem>& items) override;
  bool foreground_window_exists() override { return foreground_; }

  void queue_answer(bool yes) { answers_.push_back(yes); }
  // A menu choice: an item id, or nullopt to dismiss.
  void queue_menu(std::optional<int> choice) { menus_.push_back(choice); }
  void set_foreground(bool yes) { foreground_ = yes; }

 private:
  std::ostream& out_;
  std::deque<bool> answers_;
  std::deque<std::optional<int>> menus_;
  bool foreground_ = true;
};

}  // namespace zeb::script
