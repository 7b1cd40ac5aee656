// The settings column's control handlers. Each check box flips its setting
// and shows it; the zoom-mode combo and radios stay in step; a preset is
// loaded, saved or deleted, then the window is made the top-most again.
#include "app/settings_handlers.h"

#include "app/apply_preset.h"
#include "app/main_window.h"
#include "core/control_ids.h"
#include "settings/zoom_fields.h"
#include "view/geometry.h"

namespace zeb {

void on_mode_combo_changed(Viewer& v) {
  v.state.v_mode = v.dialog.selection(ctl::mode_combo);
  set_size_fields(v.dialog, v.state.v_mode);
  sync_mode_radios(v.dialog, v.state.v_mode);
}

void on_mode_radio_clicked(Viewer& v, int mode) {
  v.state.v_mode = mode;
  v.dialog.set_selection(ctl::mode_combo, mode);
  set_size_fields(v.dialog, mode);
  // The radios form one group: the clicked one is the only one checked.
  sync_mode_radios(v.dialog, v.state.v_mode);
}

void on_auto_rotate_clicked(Viewer& v) {
  v.state.RSC = v.state.RSC == 0 ? 1 : 0;
  v.dialog.set_check(ctl::auto_rotate_check, v.state.RSC != 0);
}

void on_reduction_clicked(Viewer& v) {
  v.state.ZOOM_MODE = v.state.ZOOM_MODE == 0 ? 1 : 0;
  v.dialog.set_check(ctl::reduction_check, v.state.ZOOM_MODE != 0);
}

void on_slide_show_clicked(Viewer& v) {
  v.state.slide_show_on = v.state.slide_show_on ? 0 : 1;
  v.dialog.set_check(ctl::slide_show_check, v.state.slide_show_on != 0);
}

void on_random_clicked(Viewer& v) {
  v.state.random_page = v.state.random_page ? 0 : 1;
  v.dialog.set_check(ctl::random_check, v.state.random_page != 0);
}

// The configuration leaves -1 for "off"; any value but 0 counts as on here.
void on_smooth_clicked(Viewer& v) {
  v.state.SC_MODE = v.state.SC_MODE == 0 ? 1 : 0;
  v.dialog.set_check(ctl::smooth_check, v.state.SC_MODE != 0);
}

void on_swap_tap_clicked(Viewer& v) {
  v.state.LR_BT = v.state.LR_BT != 0 ? 0 : 1;
  v.dialog.set_check(ctl::swap_tap_check, v.state.LR_BT != 0);
}

void on_preset_box_changed(Viewer& v) {
  run_preset(v, PresetMode::load);
  sync_mode_radios(v.dialog, v.state.v_mode);
  reassert_window(v);
}

void on_preset_save_clicked(Viewer& v) {
  run_preset(v, PresetMode::save);
  run_preset(v, PresetMode::load);
  list_presets(v);
  reassert_window(v);
}

void on_preset_delete_clicked(Viewer& v) {
  run_preset(v, PresetMode::remove);
  list_presets(v);
  reassert_window(v);
}

}  // namespace zeb
