// What a press on the full-screen page and on the start-position picker
// does: turns, zooms, the view panel and drags by zone; the picker's cells
// choose the start position, mirror, loop and the reading direction.
#include "app/page_presses.h"

#include "app/page_steps.h"
#include "core/codes.h"
#include "input/taps.h"
#include "view/geometry.h"

namespace zeb {
namespace {

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

}  // namespace

void press_page_zone(Viewer& v, int px, int py) {
  ViewerState& st = v.state;
  const int forward = st.LR_BT == 1 ? -1 : 1;
  switch (zone_at(px, py)) {
    case Zone::top_left:
      st.tap_down = 1;
      v.repaint();
      break;
    case Zone::top_right:
      st.tap_down = 2;
      v.repaint();
      break;
    case Zone::top_middle:
      st.zoom = 1.0f;
      v.repaint();
      break;
    case Zone::left_upper:
      st.zoom = st.fit_scale;
      v.repaint();
      break;
    case Zone::right_upper:
      st.zoom = st.fill_scale;
      v.repaint();
      break;
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

}  // namespace zeb
