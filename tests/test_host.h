#pragma once
// A host for in-process viewer tests: answers message boxes from a queue
// (No when it is empty), answers menus with a set choice, and records both.
#include <deque>
#include <string>
#include <utility>
#include <vector>

#include "core/services.h"

namespace zeb::testing {

struct TestHost : platform::Host {
  std::deque<bool> answers;
  std::vector<std::pair<std::u16string, std::u16string>> boxes;  // text, caption
  std::vector<platform::MenuItem> menu;                          // the last menu shown
  int menu_choice = 0;
  bool foreground = true;

  bool message_box(const std::u16string& text, const std::u16string& caption) override {
    boxes.emplace_back(text, caption);
    const bool yes = !answers.empty() && answers.front();
    if (!answers.empty()) answers.pop_front();
    return yes;
  }
  int track_popup_menu(const std::vector<platform::MenuItem>& items) override {
    menu = items;
    return menu_choice;
  }
  bool foreground_window_exists() override { return foreground; }
};

}  // namespace zeb::testing
