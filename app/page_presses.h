#pragma once
// What a press on the full-screen page and on the start-position picker does.
#include "core/viewer.h"

namespace zeb {
// A press on the full-screen page view: what its zone does.
void press_page_zone(Viewer& v, int px, int py);
// A press on the start-position picker; false when it hit no cell.
bool press_picker(Viewer& v, int px, int py);
}  // namespace zeb
