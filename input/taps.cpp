// What stylus presses on the window itself do: the zones of the full-screen
// page view, the window buttons, the view panel's toolbar cells and
// start-position picker, and the settings panel's number pad. Continuing
// effects (drag, held zoom) are left to the timer through the viewer state.
#include "input/taps.h"

#include <algorithm>

#include "core/codes.h"
#include "core/control_ids.h"
#include "core/virtual_keys.h"
#include "app/page_steps.h"
#include "view/geometry.h"

namespace zeb {
namespace {

constexpr int s = screen_scale;
constexpr int kCellSize = 20;      // toolbar, window button and picker cells (layout units)
constexpr int kToolbarCells = 10;
constexpr int kPickerColumns = 3;
constexpr int kPickerRows = 5;

void start_drag(ViewerState& st, int px, int py) {
  st.drag_pending = 1;
  st.drag_dx = drag_speed(px, screen_centre_x);
  st.drag_dy = drag_speed(py, screen_centre_y);
  st.scroll_x = std::max(st.scroll_x + st.drag_dx, 0);
  st.scroll_y = std::max(st.scroll_y + st.drag_dy, 0);
  st.scroll_dir = ScrollDir::drag;  // marks a drag for the smooth-scroll step
}

// 1 becomes -1, anything else 1.
int toggled_mirror(int sign) { return sign == 1 ? -1 : 1; }
// 0 becomes 1, anything else 0.
int toggled_flag(int flag) { return flag == 0 ? 1 : 0; }

// Digit cells choose the start position and apply it to the page at once.
void choose_start_position(Viewer& v, int row, int column) {
  constexpr int kStartOf[3] = {0, 2, 1};  // left/top, centre, right/bottom end
  v.state.r_top = kStartOf[column];
  v.state.u_top = kStartOf[row];
  set_start_position(v.state);
  finish_start_position(v);
}

void apply_picker_cell(Viewer& v, int row, int column) {
  ViewerState& st = v.state;
  if (row <= 2) {
    choose_start_position(v, row, column);
  } else if (row == 3) {
    if (column == 1) st.ud_mir = toggled_mirror(st.ud_mir);
    if (column == 2) st.ud_lop = toggled_flag(st.ud_lop);
  } else if (column == 0) {
    st.v_left = toggled_flag(st.v_left);
    load_current_page(v);
    update_status(v);
  } else if (column == 1) {
    st.lr_mir = toggled_mirror(st.lr_mir);
  } else {
    st.lr_lop = toggled_flag(st.lr_lop);
  }
  v.repaint();
}

constexpr int kViewPanelControls[] = {ctl::page_slider, ctl::status_line, ctl::window_buttons,
                                      ctl::toolbar, ctl::picker};

}  // namespace

bool layout_hit(int px, int py, int x, int y, int w, int h) {
  return s * x <= px && px <= s * (x + w) && s * y <= py && py <= s * (y + h);
}

void press_window_buttons(ViewerState& s, int px, int py) {
  if (layout_hit(px, py, 220, 0, kCellSize, kCellSize)) {
    s.key_state = Request::back;
  } else if (layout_hit(px, py, 200, 0, kCellSize, kCellSize)) {
    s.key_state = Request::minimise;
  }
}

void press_page_zone(Viewer& v, int px, int py) {
  ViewerState& st = v.state;
  const int forward = st.LR_BT == 1 ? -1 : 1;
  switch (zone_at(px, py)) {
    case Zone::top_left: st.tap_down = 1; v.repaint(); break;
    case Zone::top_right: st.tap_down = 2; v.repaint(); break;
    case Zone::top_middle: st.zoom = 1.0f; v.repaint(); break;
    case Zone::left_upper: st.zoom = st.fit_scale; v.repaint(); break;
    case Zone::right_upper: st.zoom = st.fill_scale; v.repaint(); break;
    case Zone::left_lower:
    case Zone::bottom_left: turn_page(v, -forward); break;
    case Zone::right_lower:
    case Zone::bottom_right: turn_page(v, forward); break;
    case Zone::bottom_middle:
      if (st.viewing == 1) toggle_view_panel(v);
      break;
    case Zone::middle: start_drag(v.state, px, py); break;
  }
}

int toolbar_cell_at(int px, int py) {
  int cell = -1;
  for (int i = 0; i < kToolbarCells && cell < 0; ++i) {
    if (layout_hit(px, py, kCellSize * i, 0, kCellSize, kCellSize)) cell = i;
  }
  return cell;
}

bool press_picker(Viewer& v, int px, int py) {
  for (int r = 0; r < kPickerRows; ++r) {
    for (int c = 0; c < kPickerColumns; ++c) {
      if (layout_hit(px, py, v.state.picker_x + kCellSize * c, v.state.picker_y + kCellSize * r, kCellSize,
                     kCellSize)) {
        apply_picker_cell(v, r, c);
        return true;
      }
    }
  }
  return false;
}

void press_number_pad(Viewer& v, int px, int py) {
  v.dialog.move(ctl::number_pad, {175 * s, 212 * s, 56 * s, 73 * s});
  v.repaint();
  const int key = number_pad_key(px, py);
  if (key != 0) v.platform.inject_key_press(key);
}

Zone zone_at(int px, int py) {
  // Layout-unit limits compared in pixels, so fractions of a unit stay exact.
  const bool top = py <= 15 * s;
  const bool bottom = py >= 280 * s;
  const bool left_third = px <= 70 * s;
  const bool right_third = px >= 170 * s;
  const bool upper_half = py <= 160 * s;
  if (top && left_third) return Zone::top_left;
  if (top && right_third) return Zone::top_right;
  if (top) return Zone::top_middle;
  if (px <= 10 * s) return upper_half ? Zone::left_upper : Zone::left_lower;
  if (px >= 230 * s) return upper_half ? Zone::right_upper : Zone::right_lower;
  if (bottom && left_third) return Zone::bottom_left;
  if (bottom && right_third) return Zone::bottom_right;
  if (bottom) return Zone::bottom_middle;
  return Zone::middle;
}

int drag_speed(int pixel, int centre) {
  // The difference is taken in single precision and multiplied by the double
  // 0.45: this rounding decides the speed for every pixel.
  return static_cast<int>(static_cast<float>(pixel - centre) * 0.45);
}

int number_pad_key(int px, int py) {
  constexpr int kColumns[3] = {175, 191, 207};
  constexpr int kRows[4] = {212, 230, 248, 266};
  constexpr int kKeys[4][3] = {{7, 8, 9}, {4, 5, 6}, {1, 2, 3}, {0, -1, -1}};  // -1: Back
  int key = 0;
  for (int r = 0; r < 4; ++r) {
    for (int c = 0; c < 3; ++c) {
      if (!layout_hit(px, py, kColumns[c], kRows[r], 16, 18)) continue;
      key = kKeys[r][c] < 0 ? vk::back : vk::digit_0 + kKeys[r][c];
    }
  }
  return key;
}

void toggle_view_panel(Viewer& v) {
  const bool open = v.state.panel_aux != 1;
  v.state.panel_aux = open ? 1 : 0;
  for (int id : kViewPanelControls) v.dialog.show(id, open);
}

}  // namespace zeb
