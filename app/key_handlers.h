#pragma once
// Key messages and the key-setting panel's controls.
#include "core/viewer.h"
#include "input/keys.h"

namespace zeb {
// Called for every key message before dispatch. For a key down always 0.
int on_key_message(Viewer& v, const KeyMessage& msg);
// A key-up that reached the main window (after the focused control).
void on_key_up_reached_window(Viewer& v, const KeyMessage& msg);

void on_key_settings_clicked(Viewer& v);
void on_key_action_combo_changed(Viewer& v);
void on_key_unbind_clicked(Viewer& v);
void on_key_save_clicked(Viewer& v);
void on_key_reset_clicked(Viewer& v);
}  // namespace zeb
