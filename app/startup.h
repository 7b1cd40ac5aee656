#pragma once
// Start-up: the main window's initialisation sequence.
#include <string>

#include "app/open_target.h"
#include "core/viewer.h"

namespace zeb {
// The main-window initialisation, steps in their order. A location given
// on the command line replaces the remembered LastDir before the folder scan;
// a page named with it is then shown in the page view.
void initialise_main_window(Viewer& v, const OpenTarget* target = nullptr);
// Destruction: closes the key source.
void destroy_main_window(Viewer& v);
}  // namespace zeb
