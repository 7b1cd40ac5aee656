// Stylus presses on the window itself. What a press does depends on the
// screen shown: the browser's thumbnail, the zones of the full-screen page
// view, the view panel's toolbar and start-position picker, or the settings
// panel's number pad.
#include "app/window_stylus.h"

#include "app/menus.h"
#include "app/page_presses.h"
#include "app/page_steps.h"
#include "app/siblings.h"
#include "app/sort_pages.h"
#include "core/codes.h"
#include "input/taps.h"
#include "view/paint.h"

namespace zeb {
namespace {

void press_view_panel(Viewer& v, int px, int py) {
  if (run_toolbar_cell(v, toolbar_cell_at(px, py))) return;
  if (press_picker(v, px, py)) return;
  toggle_view_panel(v);
  v.repaint();
}

}  // namespace

bool run_toolbar_cell(Viewer& v, int cell) {
  switch (cell) {
    case 0: previous_sibling(v); break;
    case 1: turn_page(v, -10); break;
    case 2: turn_page(v, -1); break;
    case 3: turn_page(v, 1); break;
    case 4: turn_page(v, 10); break;
    case 5: next_sibling(v); break;
    case 6: show_folder_menu(v); break;
    case 7: show_preset_menu(v); break;
    case 8: request_sort(v, false); break;
    case 9: request_sort(v, true); break;
    default: return false;
  }
  v.repaint();
  return true;
}

void on_stylus_down(Viewer& v, int px, int py) {
  ViewerState& st = v.state;
  st.repaint_request = 1;
  st.picker_redraw_ticks = 1;
  const bool panel_shown = st.panel_aux != 0 || st.panel_mode != PanelMode::page_view;
  if (panel_shown) press_window_buttons(v.state, px, py);
  if (st.viewing == 0 && st.settings_open == 0) {
    if (layout_hit(px, py, kThumbX + kThumbHitOffsetX, kThumbY, kThumbBox, kThumbBox)) enter_page_view(v);
    return;
  }
  if (st.drag_pending == 1) return;
  if (!panel_shown) {
    press_page_zone(v, px, py);
  } else if (st.viewing == 1) {
    press_view_panel(v, px, py);
  } else {
    press_number_pad(v, px, py);
  }
}

void on_stylus_up(Viewer& v, int, int) {
  v.state.tap_down = 0;
  v.state.repaint_request = 1;
  v.state.picker_redraw_ticks = 1;
}

void on_stylus_move(Viewer& v, int px, int py) {
  v.state.drag_dx = drag_speed(px, screen_centre_x);
  v.state.drag_dy = drag_speed(py, screen_centre_y);
}

}  // namespace zeb
