#include "widgets/shapes.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace zeb::platform::shapes {
namespace {

constexpr float kDegrees = std::numbers::pi_v<float> / 180.0f;

bool inside(const Bitmap& target, int x, int y) {
  return x >= 0 && y >= 0 && x < target.width() && y < target.height();
}

void put(Bitmap& target, int x, int y, ColorRef color) {
  std::uint8_t* p = target.picture_row(y) + 3 * x;
  p[0] = static_cast<std::uint8_t>(color >> 16);
  p[1] = static_cast<std::uint8_t>(color >> 8);
  p[2] = static_cast<std::uint8_t>(color);
}

// Fills the pixels whose centres lie inside the polygon, scanline by scanline.
void fill_polygon(Bitmap& target, const std::vector<Point>& pts, ColorRef color) {
  if (pts.size() < 3) return;
  float top = pts[0].y, bottom = pts[0].y;
  for (const Point& p : pts) {
    top = std::min(top, p.y);
    bottom = std::max(bottom, p.y);
  }
  const int y0 = std::max(0, static_cast<int>(std::floor(top)));
  const int y1 = std::min(target.height() - 1, static_cast<int>(std::ceil(bottom)));
  std::vector<float> xs;
  for (int y = y0; y <= y1; ++y) {
    const float yc = y + 0.5f;
    xs.clear();
    for (size_t i = 0; i < pts.size(); ++i) {
      const Point& a = pts[i];
      const Point& b = pts[(i + 1) % pts.size()];
      if ((a.y <= yc && yc < b.y) || (b.y <= yc && yc < a.y))
        xs.push_back(a.x + (yc - a.y) * (b.x - a.x) / (b.y - a.y));
    }
    std::sort(xs.begin(), xs.end());
    for (size_t i = 0; i + 1 < xs.size(); i += 2) {
      const int xa = std::max(0, static_cast<int>(std::ceil(xs[i] - 0.5f)));
      const int xb = std::min(target.width() - 1, static_cast<int>(std::ceil(xs[i + 1] - 0.5f)) - 1);
      for (int x = xa; x <= xb; ++x) put(target, x, y, color);
    }
  }
}

}  // namespace

void blend(Bitmap& target, int x, int y, ColorRef color, int coverage) {
  if (!inside(target, x, y) || coverage <= 0) return;
  if (coverage >= 255) return put(target, x, y, color);
  std::uint8_t* p = target.picture_row(y) + 3 * x;
  const int src[3] = {static_cast<int>((color >> 16) & 0xFF), static_cast<int>((color >> 8) & 0xFF),
                      static_cast<int>(color & 0xFF)};
  for (int i = 0; i < 3; ++i)
    p[i] = static_cast<std::uint8_t>((src[i] * coverage + p[i] * (255 - coverage) + 127) / 255);
}

void fill(Bitmap& target, Rect r, ColorRef color) {
  const int x0 = std::max(0, r.x), y0 = std::max(0, r.y);
  const int x1 = std::min(target.width(), r.x + r.w), y1 = std::min(target.height(), r.y + r.h);
  for (int y = y0; y < y1; ++y)
    for (int x = x0; x < x1; ++x) put(target, x, y, color);
}

void frame(Bitmap& target, Rect r, int thickness, ColorRef color) {
  const int t = std::min({thickness, r.w / 2 + 1, r.h / 2 + 1});
  if (t <= 0) return;
  fill(target, {r.x, r.y, r.w, t}, color);
  fill(target, {r.x, r.y + r.h - t, r.w, t}, color);
  fill(target, {r.x, r.y, t, r.h}, color);
  fill(target, {r.x + r.w - t, r.y, t, r.h}, color);
}

void polygon(Bitmap& target, std::initializer_list<Point> points, ColorRef color) {
  fill_polygon(target, std::vector<Point>(points), color);
}

void line(Bitmap& target, Point a, Point b, float width, ColorRef color) {
  const float dx = b.x - a.x, dy = b.y - a.y;
  const float length = std::hypot(dx, dy);
  if (length <= 0.0f) return disc(target, a, width / 2, color);
  // The stroke is a rectangle around the segment, half the width each side.
  const float nx = -dy / length * width / 2, ny = dx / length * width / 2;
  fill_polygon(target, {{a.x + nx, a.y + ny}, {b.x + nx, b.y + ny}, {b.x - nx, b.y - ny}, {a.x - nx, a.y - ny}}, color);
}

void arc(Bitmap& target, Point centre, float radius, float from, float to, float width, ColorRef color) {
  const int steps = std::max(4, static_cast<int>((to - from) / 10.0f));
  Point previous{centre.x + radius * std::cos(from * kDegrees), centre.y + radius * std::sin(from * kDegrees)};
  for (int i = 1; i <= steps; ++i) {
    const float angle = (from + (to - from) * static_cast<float>(i) / static_cast<float>(steps)) * kDegrees;
    const Point next{centre.x + radius * std::cos(angle), centre.y + radius * std::sin(angle)};
    line(target, previous, next, width, color);
    disc(target, next, width / 2, color);  // rounds the joints
    previous = next;
  }
}

void disc(Bitmap& target, Point centre, float radius, ColorRef color) {
  const int y0 = static_cast<int>(std::floor(centre.y - radius));
  const int y1 = static_cast<int>(std::ceil(centre.y + radius));
  const int x0 = static_cast<int>(std::floor(centre.x - radius));
  const int x1 = static_cast<int>(std::ceil(centre.x + radius));
  for (int y = y0; y <= y1; ++y)
    for (int x = x0; x <= x1; ++x) {
      const float dx = x + 0.5f - centre.x, dy = y + 0.5f - centre.y;
      if (dx * dx + dy * dy <= radius * radius && inside(target, x, y)) put(target, x, y, color);
    }
}

void arrow_head(Bitmap& target, Point tip, float angle, float size, ColorRef color) {
  const float a = angle * kDegrees, spread = 150.0f * kDegrees;
  const Point left{tip.x + size * std::cos(a + spread), tip.y + size * std::sin(a + spread)};
  const Point right{tip.x + size * std::cos(a - spread), tip.y + size * std::sin(a - spread)};
  fill_polygon(target, {tip, left, right}, color);
}

}  // namespace zeb::platform::shapes
