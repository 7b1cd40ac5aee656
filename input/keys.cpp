// Placeholder until key bindings land.
#include "input/keys.h"
namespace zeb {
int on_key_message(Viewer&, const KeyMessage&) { return 0; }
void on_key_up_reached_window(Viewer&, const KeyMessage&) {}
void read_key_bindings(Viewer&) {}
void write_key_bindings(Viewer&) {}
void on_key_settings_clicked(Viewer&) {}
void on_key_action_combo_changed(Viewer&) {}
void on_key_unbind_clicked(Viewer&) {}
void on_key_save_clicked(Viewer&) {}
void on_key_reset_clicked(Viewer&) {}
}
