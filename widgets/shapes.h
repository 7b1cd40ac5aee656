#pragma once
// Plain shape drawing on 24-bit bitmaps, in picture coordinates (top-down),
// clipped to the bitmap: the pictures and the drawn controls are made of
// these. Polygons sample pixel centres, so shapes have hard edges; text is
// the one thing drawn with coverage (blend).
#include <initializer_list>

#include "widgets/bitmap.h"

namespace zeb::platform::shapes {

struct Point {
  float x = 0, y = 0;
};

// Mixes the colour into the pixel with coverage 0 (none) to 255 (opaque).
void blend(Bitmap& target, int x, int y, ColorRef color, int coverage);
void fill(Bitmap& target, Rect r, ColorRef color);
// An outline of the given thickness drawn inside the rectangle.
void frame(Bitmap& target, Rect r, int thickness, ColorRef color);
// Filled polygon (even-odd rule) through the points in order.
void polygon(Bitmap& target, std::initializer_list<Point> points, ColorRef color);
// A straight stroke of the given width between two points.
void line(Bitmap& target, Point a, Point b, float width, ColorRef color);
// A stroke along a circular arc; angles in degrees, 0 = right, 90 = down,
// drawn from `from` to `to` in increasing angle.
void arc(Bitmap& target, Point centre, float radius, float from, float to, float width, ColorRef color);
void disc(Bitmap& target, Point centre, float radius, ColorRef color);
// A filled triangle arrow head at `tip`, pointing along the angle (degrees).
void arrow_head(Bitmap& target, Point tip, float angle, float size, ColorRef color);

}  // namespace zeb::platform::shapes
