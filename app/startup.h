#pragma once
// Start-up: the main window's controls and its initialisation sequence.
#include <string>

#include "app/viewer.h"

namespace zeb {
// Creates every control of the main window with its template state.
void create_controls(Viewer& v);
// The main-window initialisation, steps in their order. A location given
// on the command line replaces the remembered LastDir before the folder scan.
void initialise_main_window(Viewer& v, const std::u16string* location = nullptr);
// Destruction: closes the key source.
void destroy_main_window(Viewer& v);
}  // namespace zeb
