#pragma once
// The main window's paint: the page view, the browser's white background and
// thumbnail, and the start-position picker.
#include "core/viewer.h"

namespace zeb {

// The browser's thumbnail box, in layout units.
constexpr int kThumbX = 133, kThumbY = 180, kThumbBox = 120;
// A tap enters the page view inside a box of the same size that lies this
// many layout units to the right of the drawn one; the viewer has always
// taken taps there, so the offset is kept rather than aligned.
constexpr int kThumbHitOffsetX = 2;
void paint(Viewer& v);
}
