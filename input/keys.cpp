// Hardware keys. A key press is turned into a button number by polling the
// held state of the known keys and the button's bound action becomes a
// request for the timer; the key-setting panel learns and releases the
// bindings.
#include "input/keys.h"

#include <algorithm>

#include "core/codes.h"
#include "core/control_ids.h"
#include "core/virtual_keys.h"
#include "host/text.h"

namespace zeb {
namespace {

constexpr int kFirstScanButton = 5;  // buttons 5..20 are the scan keys
constexpr int kArrowKeys[4] = {vk::left, vk::right, vk::down, vk::up};  // buttons 21..24

bool is_held(const platform::KeyState& keys, int vk) { return (keys.async_state(vk) & 0x8000) != 0; }

}  // namespace

void clear_key_lists(platform::Dialog& d) {
  d.clear_items(ctl::key_list);
  d.clear_items(ctl::key_action_list);
}

void append_binding_row(platform::Dialog& d, const std::u16string& name, int action) {
  d.insert_item(ctl::key_list, -1, name);
  d.insert_item(ctl::key_action_list, -1, d.item_text(ctl::key_action_combo, action));
}

void learn_key(Viewer& v, int button) {
  const int action = v.dialog.selection(ctl::key_action_combo);
  if (button < 1 || action < 1) return;
  const std::u16string name = button_name(button);
  v.state.key_text = name;
  v.state.key_actions[button] = action;
  for (int row = v.dialog.item_count(ctl::key_list) - 1; row >= 0; --row) {
    if (v.dialog.item_text(ctl::key_list, row) != name) continue;
    v.dialog.delete_item(ctl::key_list, row);
    v.dialog.delete_item(ctl::key_action_list, row);
  }
  append_binding_row(v.dialog, name, action);
}

int slot_of_row(const std::u16string& row) {
  if (row.size() < 5) return -1;
  std::string digits;
  for (std::size_t i = 3; i < 5; ++i) digits += static_cast<char>(row[i] & 0xFF);
  if (!std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    return -1;
  }
  const int slot = text::parse_int(digits);
  return slot < kKeySlots ? slot : -1;
}

KeyActions default_key_actions() {
  KeyActions actions{};
  actions[1] = KeyAction::previous_page;  // A
  actions[2] = KeyAction::back_and_exit;  // B
  actions[3] = KeyAction::minimise;       // C
  actions[4] = KeyAction::next_page;      // Start
  actions[21] = KeyAction::scroll_left;   // left
  actions[22] = KeyAction::scroll_right;  // right
  actions[23] = KeyAction::scroll_down;   // down
  actions[24] = KeyAction::scroll_up;     // up
  return actions;
}

int held_button(const platform::KeyState& keys, const ViewerState::GxKeys& gx) {
  const int game_keys[4] = {gx.vkA, gx.vkB, gx.vkC, gx.vkStart};
  for (int i = 0; i < 4; ++i) {
    if (is_held(keys, game_keys[i])) return 1 + i;
  }
  for (int key = vk::scan_first; key <= vk::scan_last; ++key) {
    if (is_held(keys, key)) return kFirstScanButton + (key - vk::scan_first);
  }
  for (int i = 0; i < 4; ++i) {
    if (is_held(keys, kArrowKeys[i])) return 21 + i;
  }
  return 0;
}

int key_request(int action) {
  constexpr int kRequests[KeyAction::count] = {
      Request::idle,        Request::next,        Request::previous,    Request::back,
      Request::scroll_up,   Request::scroll_down, Request::scroll_left, Request::scroll_right,
      Request::full_screen, Request::minimise};
  return action >= 1 && action < KeyAction::count ? kRequests[action] : Request::idle;
}

std::u16string button_name(int button) { return u"ボタン" + text::format("%02d", button); }

}  // namespace zeb
