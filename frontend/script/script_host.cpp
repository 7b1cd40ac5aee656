#include "frontend/script/script_host.h"

#include <nlohmann/json.hpp>

#include "host/text.h"

namespace zeb::script {

bool ScriptHost::message_box(const std::u16string& text, const std::u16string& caption) {
  bool yes = false;  // a box with no queued answer is answered No
  if (!answers_.empty()) {
    yes = answers_.front();
    answers_.pop_front();
  }
  nlohmann::json box = {{"text", text::to_utf8(text)},
                        {"caption", text::to_utf8(caption)},
                        {"answer", yes ? "yes" : "no"}};
  out_ << nlohmann::json{{"message_box", box}}.dump() << '\n';
  return yes;
}

int ScriptHost::track_popup_menu(const std::vector<platform::MenuItem>& items) {
  std::optional<int> choice;  // unqueued menus are dismissed
  if (!menus_.empty()) {
    choice = menus_.front();
    menus_.pop_front();
  }
  nlohmann::json list = nlohmann::json::array();
  for (const auto& item : items)
    list.push_back({{"id", item.id}, {"text", text::to_utf8(item.text)}, {"checked", item.checked}});
  nlohmann::json menu = {{"items", list}, {"choice", choice ? nlohmann::json(*choice) : nlohmann::json()}};
  out_ << nlohmann::json{{"menu", menu}}.dump() << '\n';
  return choice.value_or(0);
}

}  // namespace zeb::script
