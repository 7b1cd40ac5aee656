#pragma once
// Hardware keys: buttons and their bound actions, learning, the key-setting
// panel's binding lists.
#include <array>
#include <string>

#include "core/viewer.h"

namespace zeb {

struct KeyMessage {
  bool down = true;   // key down or key up
  int vk = 0;         // first parameter: the virtual-key code
  int lparam = 1;     // second parameter: repeat count in the low 16 bits
};

// The bindings at process start and after a reset.
KeyActions default_key_actions();
// The button held now (1..24, polled in button order), or 0 for none.
int held_button(const platform::KeyState& keys, const ViewerState::GxKeys& gx);
// The key_state request of an action code, or Request::idle for an action
// that requests nothing.
int key_request(int action);
// "ボタン%02d".
std::u16string button_name(int button);

// Learning: the held button takes the action chosen in the combo, and its
// row moves to the end of the lists.
void learn_key(Viewer& v, int button);
// The binding lists of the key-setting panel: emptied, and one row added.
void clear_key_lists(platform::Dialog& d);
void append_binding_row(platform::Dialog& d, const std::u16string& name, int action);
// The slot a key-list row names ("ボタンNN"), or -1 when it names none.
int slot_of_row(const std::u16string& row);

}  // namespace zeb
