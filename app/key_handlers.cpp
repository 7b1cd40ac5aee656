// The handlers of the key-setting panel and of the key messages: a key press
// becomes its button's request (or is learnt while the panel is open), and
// the panel saves, resets and releases bindings.
#include "app/key_handlers.h"

#include "app/key_file.h"
#include "app/panels.h"
#include "core/codes.h"
#include "core/control_ids.h"
#include "core/virtual_keys.h"
#include "host/text.h"
#include "input/keys.h"
#include "settings/key_bindings.h"

namespace zeb {
namespace {

// Controls of the browser and settings panel that the key-setting panel hides.
constexpr int kHiddenWhileLearning[] = {
    ctl::size_x_label,    ctl::size_y_label,    ctl::page_slider,     ctl::preset_box,     ctl::folder_list,
    ctl::page_list,       ctl::mode_combo,      ctl::settings_button, ctl::path_box,       ctl::sort_ascending,
    ctl::sort_descending, ctl::size_x,          ctl::size_y,          ctl::number_pad,     ctl::slide_show_check,
    ctl::random_check,    ctl::auto_sort_check, ctl::status_line,     ctl::mode_radio_0,   ctl::mode_radio_1,
    ctl::mode_radio_2,    ctl::mode_radio_3,    ctl::mode_radio_4,    ctl::mode_radio_5,   ctl::mode_radio_6,
    ctl::reduction_check, ctl::preset_save,     ctl::preset_delete,   ctl::swap_tap_check, ctl::wait_field,
    ctl::wait_label,      ctl::next_folder,     ctl::previous_folder, ctl::folder_change,  ctl::toolbar,
    ctl::picker,          ctl::smooth_check,    ctl::speed_label,     ctl::speed_field};

constexpr int kKeyPanelControls[] = {ctl::key_action_combo, ctl::key_unbind, ctl::key_list,
                                     ctl::key_action_list,  ctl::key_save,   ctl::key_reset};

void close_key_panel(Viewer& v) {
  v.state.key_learn = 0;
  v.dialog.set_text(ctl::key_settings, u"キー設定");
  for (int id : kKeyPanelControls) v.dialog.show(id, false);
  v.state.settings_open = 1;
  apply_panel_mode(v, PanelMode::lists);
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

}  // namespace

int on_key_message(Viewer& v, const KeyMessage& msg) {
  ViewerState& s = v.state;
  if (!msg.down) {
    // Any release stops a held scroll.
    if (s.key_state >= Request::scroll_up && s.key_state <= Request::scroll_right) s.key_state = Request::idle;
    return 0;
  }
  s.last_key = static_cast<short>(msg.vk);
  // The held keys decide, not the message's own key code.
  const int button = held_button(v.platform.keys, s.gx_keys);
  if (s.key_learn == 1) {
    learn_key(v, button);
  } else if (button >= 1) {
    const int request = key_request(s.key_actions[button]);
    if (request != Request::idle) s.key_state = request;
  }
  return 0;
}

void on_key_up_reached_window(Viewer& v, const KeyMessage& msg) {
  ViewerState& s = v.state;
  if (s.last_key == vk::ime_process || s.last_key == vk::windows) return;
  s.key_text = text::format("keyu=%d::%d", s.last_key, static_cast<short>(msg.lparam & 0xFFFF));
  v.dialog.set_text(ctl::key_name_edit, s.key_text);
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
