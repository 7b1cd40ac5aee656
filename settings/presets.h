#pragma once
// Setting presets: named sets of view settings in .set files.
#include "app/viewer.h"

namespace zeb {
enum class PresetMode { load = 0, save = 1, remove = 5 };
void run_preset(Viewer& v, PresetMode mode);
void list_presets(Viewer& v);
void show_preset_menu(Viewer& v);
void on_preset_box_changed(Viewer& v);
void on_preset_save_clicked(Viewer& v);
void on_preset_delete_clicked(Viewer& v);
}  // namespace zeb
