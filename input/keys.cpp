// Hardware keys. A key press is turned into a button number by polling the
// held state of the known keys, the button's bound action becomes a request
// for the timer, and the key-setting panel learns, releases, saves and
// resets the bindings kept in key.cfg.
#include "input/keys.h"

#include <algorithm>

#include "core/control_ids.h"
#include "platform/files.h"
#include "platform/text.h"
#include "settings/paths.h"
#include "settings/setting_file.h"
#include "settings/setting_lines.h"
#include "view/panels.h"

namespace zeb {
namespace {

constexpr int kFirstScanButton = 5;  // buttons 5..20 are the keys 0xC0..0xCF
constexpr int kFirstScanKey = 0xC0;
constexpr int kLastScanKey = 0xCF;
constexpr int kArrowKeys[4] = {0x25, 0x27, 0x28, 0x26};  // buttons 21..24: left, right, down, up
constexpr int kActionCount = 10;  // 0 "指定なし" .. 9 "最小化"
constexpr int kRequestScrollFirst = 21;
constexpr int kRequestScrollLast = 24;
// Key codes whose key-up leaves the key-name edit alone (the input method's
// processing key and the Windows key).
constexpr int kVkProcessKey = 229;
constexpr int kVkWindowsKey = 91;

// fgets reads at most this many characters of a line into its 255-byte buffer.
constexpr std::size_t kLineLimit = 254;

bool is_held(const platform::KeyState& keys, int vk) { return (keys.async_state(vk) & 0x8000) != 0; }

std::string key_file_path(Viewer& v) { return settings_file_path(v, u"key.cfg"); }

void clear_key_lists(Viewer& v) {
  v.dialog.clear_items(ctl::key_list);
  v.dialog.clear_items(ctl::key_action_list);
}

void append_binding_row(Viewer& v, const std::u16string& name, int action) {
  v.dialog.insert_item(ctl::key_list, -1, name);
  v.dialog.insert_item(ctl::key_action_list, -1,
                       v.dialog.item_text(ctl::key_action_combo, action));
}

// Learning: the held button takes the action chosen in the combo, and its
// row moves to the end of the lists.
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
  append_binding_row(v, name, action);
}

// Controls of the browser and settings panel that the key-setting panel hides.
constexpr int kHiddenWhileLearning[] = {
    ctl::size_x_label, ctl::size_y_label, ctl::page_slider, ctl::preset_box,
    ctl::folder_list, ctl::page_list, ctl::mode_combo, ctl::settings_button,
    ctl::path_box, ctl::sort_ascending, ctl::sort_descending, ctl::size_x,
    ctl::size_y, ctl::number_pad, ctl::slide_show_check, ctl::random_check,
    ctl::auto_sort_check, ctl::status_line, ctl::mode_radio_0, ctl::mode_radio_1,
    ctl::mode_radio_2, ctl::mode_radio_3, ctl::mode_radio_4, ctl::mode_radio_5,
    ctl::mode_radio_6, ctl::reduction_check, ctl::preset_save, ctl::preset_delete,
    ctl::swap_tap_check, ctl::wait_field, ctl::wait_label, ctl::next_folder,
    ctl::previous_folder, ctl::folder_change, ctl::toolbar, ctl::picker,
    ctl::smooth_check, ctl::speed_label, ctl::speed_field};

constexpr int kKeyPanelControls[] = {ctl::key_action_combo, ctl::key_unbind, ctl::key_list,
                                     ctl::key_action_list, ctl::key_save, ctl::key_reset};

void close_key_panel(Viewer& v) {
  v.state.key_learn = 0;
  v.dialog.set_text(ctl::key_settings, u"キー設定");
  for (int id : kKeyPanelControls) v.dialog.show(id, false);
  v.state.settings_open = 1;
  apply_panel_mode(v, 1);
  v.repaint();
}

void open_key_panel(Viewer& v) {
  v.state.key_learn = 1;
  v.dialog.set_text(ctl::key_settings, u"戻る");
  for (int id : kKeyPanelControls) v.dialog.show(id, true);
  v.dialog.show(ctl::key_settings, true);
  v.dialog.show(ctl::auto_rotate_check, true);
  v.dialog.show(ctl::window_buttons, false);
  for (int id : kHiddenWhileLearning) v.dialog.show(id, false);
}

// The slot a key-list row names ("ボタンNN"), or -1 when it names none.
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

// One line as fgets with a 255-byte buffer reads it: up to and including
// the LF, at most kLineLimit characters; a NUL ends the text early.
std::string_view next_line(std::string_view& rest) {
  std::size_t length = std::min(rest.size(), kLineLimit);
  const std::size_t lf = rest.substr(0, length).find('\n');
  if (lf != std::string_view::npos) length = lf + 1;
  std::string_view line = rest.substr(0, length);
  rest.remove_prefix(length);
  return line.substr(0, line.find('\0'));
}

// The value text of a binding line: after the first "=", up to CR or LF.
std::string_view line_value(std::string_view line) {
  const std::size_t eq = line.find('=');
  if (eq == std::string_view::npos) return {};
  std::string_view value = line.substr(eq + 1);
  return value.substr(0, value.find_first_of("\r\n"));
}

}  // namespace

KeyActions default_key_actions() {
  KeyActions actions{};
  actions[1] = 2;   // A: previous page
  actions[2] = 3;   // B: back and exit
  actions[3] = 9;   // C: minimise
  actions[4] = 1;   // Start: next page
  actions[21] = 6;  // left: scroll left
  actions[22] = 7;  // right: scroll right
  actions[23] = 5;  // down: scroll down
  actions[24] = 4;  // up: scroll up
  return actions;
}

int held_button(const platform::KeyState& keys, const ViewerState::GxKeys& gx) {
  const int game_keys[4] = {gx.vkA, gx.vkB, gx.vkC, gx.vkStart};
  for (int i = 0; i < 4; ++i) {
    if (is_held(keys, game_keys[i])) return 1 + i;
  }
  for (int vk = kFirstScanKey; vk <= kLastScanKey; ++vk) {
    if (is_held(keys, vk)) return kFirstScanButton + (vk - kFirstScanKey);
  }
  for (int i = 0; i < 4; ++i) {
    if (is_held(keys, kArrowKeys[i])) return 21 + i;
  }
  return 0;
}

int key_request(int action) {
  constexpr int kRequests[kActionCount] = {0, 8, 10, 11, 21, 22, 23, 24, 25, 26};
  return action >= 1 && action < kActionCount ? kRequests[action] : 0;
}

std::u16string button_name(int button) { return u"ボタン" + text::format("%02d", button); }

std::string key_bindings_text(const KeyActions& actions) {
  std::string out;
  for (int k = 0; k < kKeySlots; ++k) {
    out += text::to_utf8(text::format("AP%02d=%d\r\n", k, actions[k]));
  }
  return out;
}

// Lines are matched to slots by position only: the value on line k + 1 goes
// to slot k whatever the text before its "=" says; missing lines give 0.
KeyActions parse_key_bindings(std::string_view bytes) {
  take_encoding_mark(bytes);  // the values are digits in either encoding
  KeyActions actions{};
  for (int k = 0; k < kKeySlots; ++k) {
    actions[k] = text::parse_int(line_value(next_line(bytes)));
  }
  return actions;
}

int on_key_message(Viewer& v, const KeyMessage& msg) {
  ViewerState& s = v.state;
  if (!msg.down) {
    // Any release stops a held scroll.
    if (s.key_state >= kRequestScrollFirst && s.key_state <= kRequestScrollLast) s.key_state = 0;
    return 0;
  }
  s.last_key = static_cast<short>(msg.vk);
  // The held keys decide, not the message's own key code.
  const int button = held_button(v.platform.keys, s.gx_keys);
  if (s.key_learn == 1) {
    learn_key(v, button);
  } else if (button >= 1) {
    const int request = key_request(s.key_actions[button]);
    if (request != 0) s.key_state = request;
  }
  return 0;
}

void on_key_up_reached_window(Viewer& v, const KeyMessage& msg) {
  ViewerState& s = v.state;
  if (s.last_key == kVkProcessKey || s.last_key == kVkWindowsKey) return;
  s.key_text = text::format("keyu=%d::%d", s.last_key, static_cast<short>(msg.lparam & 0xFFFF));
  v.dialog.set_text(ctl::key_name_edit, s.key_text);
}

void read_key_bindings(Viewer& v) {
  clear_key_lists(v);
  const std::string path = key_file_path(v);
  const std::optional<std::string> bytes = read_setting_file(path, kSmallSettingsFileLimit);
  if (!bytes) {
    // A missing file is created from the bindings in memory; one that exists
    // but cannot be read is left alone rather than overwritten.
    if (platform::host_path_missing(path)) {
      platform::replace_host_file(path, key_bindings_text(v.state.key_actions));
    }
    return;
  }
  v.state.key_actions = parse_key_bindings(*bytes);
  for (int k = 0; k < kKeySlots; ++k) {
    const int action = v.state.key_actions[k];
    if (action >= 1 && action < kActionCount) append_binding_row(v, button_name(k), action);
  }
}

// Replaced atomically, so a failed save leaves the previous file whole; a
// failure is not reported and the bindings stay in memory.
void write_key_bindings(Viewer& v) {
  clear_key_lists(v);
  const std::string path = key_file_path(v);
  platform::replace_host_file(path, key_bindings_text(v.state.key_actions));
}

void on_key_settings_clicked(Viewer& v) {
  if (v.state.key_learn == 1) {
    close_key_panel(v);
  } else {
    open_key_panel(v);
  }
}

// The next key press should reach the list, not change the combo's choice.
void on_key_action_combo_changed(Viewer& v) { v.dialog.set_focus(ctl::key_action_list); }

void on_key_unbind_clicked(Viewer& v) {
  const int row = v.dialog.selection(ctl::key_action_list);
  if (row < 0) return;
  const int slot = slot_of_row(v.dialog.item_text(ctl::key_list, row));
  if (slot < 0) return;
  v.state.key_actions[slot] = 0;
  v.dialog.delete_item(ctl::key_list, row);
  v.dialog.delete_item(ctl::key_action_list, row);
}

void on_key_save_clicked(Viewer& v) {
  write_key_bindings(v);
  read_key_bindings(v);
}

void on_key_reset_clicked(Viewer& v) {
  v.state.key_actions = default_key_actions();
  write_key_bindings(v);
  read_key_bindings(v);
}

}  // namespace zeb
