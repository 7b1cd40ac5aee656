#pragma once
// Hardware keys: pre-translation of key messages, learning, the key-setting
// panel, and the key binding file.
#include <array>
#include <string>
#include <string_view>

#include "core/viewer.h"

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

using KeyActions = std::array<int, kKeySlots>;
// The bindings at process start and after a reset.
KeyActions default_key_actions();
// The button held now (1..24, polled in button order), or 0 for none.
int held_button(const platform::KeyState& keys, const ViewerState::GxKeys& gx);
// The key_state request of an action code, or 0 for an action that requests nothing.
int key_request(int action);
// The key binding file's bytes and their reading.
std::string key_bindings_text(const KeyActions& actions);
KeyActions parse_key_bindings(std::string_view bytes);
// "ボタン%02d".
std::u16string button_name(int button);

}  // namespace zeb
