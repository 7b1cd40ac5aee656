// Panel modes: the page view, the browser and the settings panel are sets
// of the window's controls, shown and hidden together.
#include "app/panels.h"

#include "core/codes.h"
#include "core/control_ids.h"
#include "settings/zoom_fields.h"
#include "view/geometry.h"

namespace zeb {
namespace {

// Visibility per screen: 1 shown, 0 hidden, -1 left alone.
struct PanelRow {
  int id;
  signed char page_view, browser, settings;
};

const PanelRow kPanelTable[] = {
    {ctl::path_box, 0, 1, 0},
    {ctl::folder_list, 0, 1, 0},
    {ctl::page_list, 0, 1, 0},
    {ctl::mode_combo, 0, 0, 1},
    {ctl::settings_edit, -1, 0, 1},
    {ctl::preset_save, 0, 0, 1},
    {ctl::preset_delete, 0, 0, 1},
    {ctl::sort_ascending, 0, 1, 0},
    {ctl::size_x, 0, 0, 1},
    {ctl::size_y, 0, 0, 1},
    {ctl::number_pad, 0, 0, 1},
    {ctl::slide_show_check, 0, 1, 0},
    {ctl::random_check, 0, 1, 0},
    {ctl::preset_box, 0, 0, 1},
    {ctl::size_x_label, 0, 0, 1},
    {ctl::size_y_label, 0, 0, 1},
    {ctl::page_slider, 0, 1, 0},
    {ctl::status_line, 0, 1, 0},
    {ctl::mode_radio_0, 0, 0, 1},
    {ctl::mode_radio_1, 0, 0, 1},
    {ctl::mode_radio_2, 0, 0, 1},
    {ctl::mode_radio_3, 0, 0, 1},
    {ctl::mode_radio_4, 0, 0, 1},
    {ctl::mode_radio_5, 0, 0, 1},
    {ctl::mode_radio_6, 0, 0, 1},
    {ctl::swap_tap_check, 0, 0, 1},
    {ctl::wait_field, 0, 0, 1},
    {ctl::wait_label, 0, 0, 1},
    {ctl::next_folder, 0, 1, 0},
    {ctl::previous_folder, 0, 1, 0},
    {ctl::folder_change, 0, 0, 0},
    {ctl::quit_button, -1, -1, 1},
    {ctl::toolbar, 0, 0, 0},
    {ctl::sort_descending, 0, 1, 0},
    {ctl::auto_sort_check, 0, 1, 0},
    {ctl::key_settings, 0, 0, 1},
    {ctl::full_screen_again, 0, 1, 0},
    {ctl::smooth_check, 0, 0, 1},
    {ctl::speed_label, 0, 0, 1},
    {ctl::speed_field, 0, 0, 1},
    {ctl::reduction_check, 0, 0, 1},
    {ctl::window_buttons, 0, 1, 1},
    {ctl::auto_rotate_check, 0, 0, 1},
    {ctl::picker, 0, 0, 0},
};

enum class Column { page_view, browser, settings };

void apply_column(platform::Dialog& d, Column column, bool skip_settings_button) {
  for (const PanelRow& row : kPanelTable) {
    if (skip_settings_button && row.id == ctl::settings_button) continue;
    const int want = column == Column::page_view ? row.page_view
                     : column == Column::browser ? row.browser
                                                 : row.settings;
    if (want >= 0) d.show(row.id, want == 1);
  }
}

void place_window(platform::WindowPlacement& window, platform::ZOrder second) {
  window.set_pos(0, 0, screen_w, screen_h, platform::ZOrder::not_topmost);
  window.set_pos(0, 0, screen_w, screen_h, second);
}

void apply_page_view(Viewer& v) {
  place_window(v.platform.window, platform::ZOrder::topmost);
  v.dialog.show(ctl::full_screen_again, false);
  v.state.panel_aux = 0;
  v.dialog.show(ctl::settings_button, false);
  apply_column(v.dialog, Column::page_view, true);
}

void apply_browser(Viewer& v) {
  // The page list takes the focus before the folder buttons are updated.
  v.dialog.set_focus(ctl::page_list);
  apply_column(v.dialog, Column::browser, true);
  v.dialog.show(ctl::settings_button, true);
}

void apply_settings(Viewer& v) {
  v.dialog.show(ctl::key_settings, true);
  place_window(v.platform.window, platform::ZOrder::top);
  v.platform.window.topmost = false;
  v.dialog.show(ctl::full_screen_again, false);
  apply_column(v.dialog, Column::settings, true);
  v.dialog.set_selection(ctl::mode_combo, v.state.v_mode);
  set_size_fields(v.dialog, v.dialog.selection(ctl::mode_combo));
  sync_mode_radios(v.dialog, v.state.v_mode);
  v.dialog.show(ctl::settings_button, true);
}

}  // namespace

void apply_panel_mode(Viewer& v, int mode) {
  v.state.panel_mode = mode;
  if (mode == PanelMode::page_view) {
    apply_page_view(v);
  } else if (mode == PanelMode::lists) {
    v.dialog.show(ctl::full_screen_again, true);
    place_window(v.platform.window, platform::ZOrder::topmost);
    v.dialog.show(ctl::window_buttons, true);
    v.dialog.show(ctl::key_settings, false);
    if (v.state.settings_open == 0) apply_browser(v);
    else apply_settings(v);
  }
}

}  // namespace zeb
