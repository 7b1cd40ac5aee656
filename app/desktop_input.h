#pragma once
// Desktop input that the device's hardware buttons have no counterpart for:
// the page keys of a keyboard and the mouse wheel. Both front ends deliver
// them here, so a script can press the same keys a reader does. They only
// ever ask for the page steps the buttons ask for; the learnable bindings
// never see them.
#include "core/viewer.h"

namespace zeb {

// A key press that reached the window after pre-translation. In the page
// view PageDown and Space request the next page and PageUp the previous one
// (the requests of the bound buttons), Home and End show the first and last
// page. A key meant for a shown edit box stays with it. True when it acted.
bool desktop_page_key(Viewer& v, int vk);

// Wheel steps at a screen point (positive = turned away from the reader).
// The page view turns a page per event (towards the reader = next); elsewhere
// the list or open drop-down under the point scrolls.
void wheel(Viewer& v, int px, int py, int steps);

}  // namespace zeb
