#pragma once
// Start-up: the main window's controls and its initialisation sequence.
#include "app/viewer.h"

namespace zeb {
// Creates every control of the main window with its template state.
void create_controls(Viewer& v);
// The main-window initialisation, steps in their order.
void initialise_main_window(Viewer& v);
// Destruction: closes the key source.
void destroy_main_window(Viewer& v);
}  // namespace zeb
