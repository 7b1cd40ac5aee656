#pragma once
// Stylus messages on the window itself (not on a control).
#include "core/viewer.h"

namespace zeb {
void on_stylus_down(Viewer& v, int px, int py);
void on_stylus_up(Viewer& v, int px, int py);
void on_stylus_move(Viewer& v, int px, int py);
// What a toolbar cell of the view panel does; false for no cell (-1).
bool run_toolbar_cell(Viewer& v, int cell);
}  // namespace zeb
