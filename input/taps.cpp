// Where stylus presses on the window itself land: the zones of the
// full-screen page view, the window buttons, the view panel's toolbar cells,
// and the settings panel's number pad; the start of a drag. Continuing
// effects (drag, held zoom) are left to the timer through the viewer state.
#include "input/taps.h"

#include <algorithm>

#include "core/codes.h"
#include "core/control_ids.h"
#include "core/virtual_keys.h"

namespace zeb {
namespace {

constexpr int s = screen_scale;

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

int toolbar_cell_at(int px, int py) {
  int cell = -1;
  for (int i = 0; i < kToolbarCells && cell < 0; ++i) {
    if (layout_hit(px, py, kCellSize * i, 0, kCellSize, kCellSize)) cell = i;
  }
  return cell;
}

void press_number_pad(Viewer& v, int px, int py) {
  constexpr ctl::LayoutBox box = ctl::number_pad_box;
  v.dialog.move(ctl::number_pad, {box.x * s, box.y * s, box.w * s, box.h * s});
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

void start_drag(ViewerState& st, int px, int py) {
  st.drag_pending = 1;
  st.drag_dx = drag_speed(px, screen_centre_x);
  st.drag_dy = drag_speed(py, screen_centre_y);
  st.scroll_x = std::max(st.scroll_x + st.drag_dx, 0);
  st.scroll_y = std::max(st.scroll_y + st.drag_dy, 0);
  st.scroll_dir = ScrollDir::drag;  // marks a drag for the smooth-scroll step
}

int number_pad_key(int px, int py) {
  constexpr int kKeys[4][3] = {{7, 8, 9}, {4, 5, 6}, {1, 2, 3}, {0, -1, -1}};  // -1: Back
  int key = 0;
  for (int r = 0; r < 4; ++r) {
    for (int c = 0; c < 3; ++c) {
      const int x = ctl::number_pad_box.x + c * ctl::number_pad_cell_w;
      const int y = ctl::number_pad_box.y + r * ctl::number_pad_cell_h;
      if (!layout_hit(px, py, x, y, ctl::number_pad_cell_w, ctl::number_pad_cell_h)) continue;
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
