#pragma once
// Stylus input on the window itself: zones, drag, view panel, picker, pad.
#include "core/viewer.h"

namespace zeb {
void on_stylus_down(Viewer& v, int px, int py);
void on_stylus_up(Viewer& v, int px, int py);
void on_stylus_move(Viewer& v, int px, int py);
void on_swap_tap_clicked(Viewer& v);
void toggle_view_panel(Viewer& v);

// Zones of the full-screen page view, in the order they are tested.
enum class Zone {
  top_left,       // zoom out while held
  top_right,      // zoom in while held
  top_middle,     // zoom 1.0
  left_upper,     // zoom to fit
  left_lower,     // previous page (next with LR_BT)
  right_upper,    // zoom to fill
  right_lower,    // next page (previous with LR_BT)
  bottom_left,    // previous page (next with LR_BT)
  bottom_right,   // next page (previous with LR_BT)
  bottom_middle,  // view panel
  middle,         // drag
};
// The zone of a press at screen pixel (px, py); borders are exact.
Zone zone_at(int px, int py);

// Drag speed for a stylus pixel coordinate: 0.45 pixel per tick per pixel of
// distance from the screen centre (centre in pixels), truncated toward zero.
int drag_speed(int pixel, int centre);

// The key a number-pad press at (px, py) sends: 0x30 + digit, 0x08 for Back,
// or 0 when the press is on no cell. The last matching cell decides.
int number_pad_key(int px, int py);
}  // namespace zeb
