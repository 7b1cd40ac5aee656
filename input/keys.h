#pragma once
// Hardware keys: pre-translation of key messages, learning, the key-setting
// panel, and the key binding file.
#include "app/viewer.h"

namespace zeb {

struct KeyMessage {
  bool down = true;   // key down or key up
  int vk = 0;         // first parameter: the virtual-key code
  int lparam = 1;     // second parameter: repeat count in the low 16 bits
};

// Called for every key message before dispatch. For a key down always 0.
int on_key_message(Viewer& v, const KeyMessage& msg);
// A key-up message that reached the window procedure.
void on_key_up_reached_window(Viewer& v, const KeyMessage& msg);
void read_key_bindings(Viewer& v);
void write_key_bindings(Viewer& v);

void on_key_settings_clicked(Viewer& v);
void on_key_action_combo_changed(Viewer& v);
void on_key_unbind_clicked(Viewer& v);
void on_key_save_clicked(Viewer& v);
void on_key_reset_clicked(Viewer& v);

}  // namespace zeb
