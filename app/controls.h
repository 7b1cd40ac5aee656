#pragma once
// The main window's control table.
#include "core/viewer.h"

namespace zeb {
// Creates every control of the main window with its template state.
void create_controls(Viewer& v);
// Moves every control to its place on the 480 x 640 screen (start-up).
void place_controls(Viewer& v);
// Controls that only hold data and are never shown.
bool is_never_visible(int id);
}  // namespace zeb
