#pragma once
// The main window's paint: the page view, the browser's white background and
// thumbnail, and the start-position picker.
#include "core/viewer.h"

namespace zeb {
void paint(Viewer& v);
}
