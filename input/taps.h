#pragma once
// Stylus input on the window itself: zones, drag, view panel, picker, pad.
#include "app/viewer.h"

namespace zeb {
void on_stylus_down(Viewer& v, int px, int py);
void on_stylus_up(Viewer& v, int px, int py);
void on_stylus_move(Viewer& v, int px, int py);
void on_swap_tap_clicked(Viewer& v);
void toggle_view_panel(Viewer& v);
}  // namespace zeb
