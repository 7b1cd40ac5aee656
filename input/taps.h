#pragma once
// Stylus presses on the window itself: zones, drag, window buttons, view
// panel, toolbar and picker cells, pad.
#include "core/viewer.h"

namespace zeb {
// The toolbar, the window buttons and the start-position picker are laid out
// in square cells of kCellSize layout units: a toolbar of kToolbarCells in a
// row, a picker of kPickerColumns x kPickerRows.
constexpr int kCellSize = 20;  // layout units
constexpr int kToolbarCells = 10;
constexpr int kPickerColumns = 3;
constexpr int kPickerRows = 5;

// A rectangle in layout units contains the pixel when it lies within the
// scaled rectangle, both borders included.
bool layout_hit(int px, int py, int x, int y, int w, int h);
// The cross and the minimise bar of the window buttons hand their action to
// the timer; the press goes on to the screen's own handling.
void press_window_buttons(ViewerState& s, int px, int py);
// The view panel's toolbar cell (0..9) under a press, or -1 for none.
int toolbar_cell_at(int px, int py);
// The number pad types into the focused settings field through synthetic
// key presses, as its keys would.
void press_number_pad(Viewer& v, int px, int py);
// Shows or hides the view panel's controls.
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
// A press in the page's middle starts a drag: its speeds from the press's
// distance to the screen centre, the first step taken at once.
void start_drag(ViewerState& st, int px, int py);

// The key a number-pad press at (px, py) sends: 0x30 + digit, 0x08 for Back,
// or 0 when the press is on no cell. The last matching cell decides.
int number_pad_key(int px, int py);
}  // namespace zeb
