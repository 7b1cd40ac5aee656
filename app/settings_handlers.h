#pragma once
// The settings column's controls: zoom modes, check boxes, presets.
#include "core/viewer.h"

namespace zeb {
void on_mode_combo_changed(Viewer& v);
void on_mode_radio_clicked(Viewer& v, int mode);
void on_auto_rotate_clicked(Viewer& v);
void on_reduction_clicked(Viewer& v);
void on_slide_show_clicked(Viewer& v);
void on_random_clicked(Viewer& v);
void on_smooth_clicked(Viewer& v);
void on_swap_tap_clicked(Viewer& v);
void on_preset_box_changed(Viewer& v);
void on_preset_save_clicked(Viewer& v);
void on_preset_delete_clicked(Viewer& v);
}  // namespace zeb
