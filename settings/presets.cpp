// Placeholder until presets land.
#include "settings/presets.h"
namespace zeb {
void run_preset(Viewer&, PresetMode) {}
void list_presets(Viewer&) {}
void show_preset_menu(Viewer&) {}
void on_preset_box_changed(Viewer&) {}
void on_preset_save_clicked(Viewer&) {}
void on_preset_delete_clicked(Viewer&) {}
}
