// The handlers of the key-setting panel and of the key messages: a key press
// becomes its button's request (or is learnt while the panel is open), and
// the panel saves, resets and releases bindings.
#include "app/key_handlers.h"

#include "core/codes.h"
#include "core/control_ids.h"
#include "core/virtual_keys.h"
#include "input/keys.h"
#include "host/text.h"
#include "settings/key_bindings.h"

namespace zeb {

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
