#include "frontend/sdl/screen_fit.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "core/services.h"

namespace zeb::sdl {
namespace {

constexpr int kW = platform::kScreenWidth, kH = platform::kScreenHeight;

bool sideways(int turn) { return turn == 90 || turn == 270; }

// The screen pixel shown at pixel (u, v) of the screen as it stands on the
// display; a turn of 90 degrees puts the screen's top edge on the right.
void screen_pixel_at(int turn, int u, int v, int& sx, int& sy) {
  switch (turn) {
    case 90: sx = v, sy = kH - 1 - u; break;
    case 180: sx = kW - 1 - u, sy = kH - 1 - v; break;
    case 270: sx = kW - 1 - v, sy = u; break;
    default: sx = u, sy = v; break;
  }
}

}  // namespace

Size turned_screen(int turn) { return sideways(turn) ? Size{kH, kW} : Size{kW, kH}; }

double fit_scale(Size area, int turn) {
  const Size s = turned_screen(turn);
  return std::max(0.0, std::min(static_cast<double>(area.w) / s.w, static_cast<double>(area.h) / s.h));
}

Size first_window_size(Size area, int turn, int wanted) {
  const Size s = turned_screen(turn);
  const double fits = fit_scale(area, turn);
  const double scale = wanted > 0 && wanted <= fits ? wanted : fits;
  // Never smaller than a quarter of the screen, whatever the display says.
  return {std::max(s.w / 4, static_cast<int>(s.w * scale)), std::max(s.h / 4, static_cast<int>(s.h * scale))};
}

ScreenFit::ScreenFit(Size window, int turn) : turn_(turn) {
  const Size s = turned_screen(turn);
  scale_ = fit_scale(window, turn);
  // A scale within a rounding error of a whole number is that number, so
  // an exact window shows exact pixels.
  if (std::abs(scale_ - std::round(scale_)) * std::max(s.w, s.h) < 0.5) scale_ = std::round(scale_);
  w_ = std::min(window.w, static_cast<int>(std::lround(s.w * scale_)));
  h_ = std::min(window.h, static_cast<int>(std::lround(s.h * scale_)));
  x_ = (window.w - w_) / 2;
  y_ = (window.h - h_) / 2;
}

bool ScreenFit::integer_scale() const { return scale_ >= 1 && scale_ == std::floor(scale_); }

bool ScreenFit::to_screen(double wx, double wy, int& sx, int& sy) const {
  if (w_ <= 0 || h_ <= 0) return false;
  const Size s = turned_screen(turn_);
  // u, v: the pixel of the turned screen as it stands on the display.
  const int u = static_cast<int>(std::floor((wx - x_) * s.w / w_));
  const int v = static_cast<int>(std::floor((wy - y_) * s.h / h_));
  const bool inside = u >= 0 && u < s.w && v >= 0 && v < s.h;
  screen_pixel_at(turn_, std::clamp(u, 0, s.w - 1), std::clamp(v, 0, s.h - 1), sx, sy);
  return inside;
}

void ScreenFit::to_window(int sx, int sy, double& wx, double& wy) const {
  const Size s = turned_screen(turn_);
  int u = sx, v = sy;
  switch (turn_) {
    case 90: u = kH - 1 - sy, v = sx; break;
    case 180: u = kW - 1 - sx, v = kH - 1 - sy; break;
    case 270: u = sy, v = kW - 1 - sx; break;
    default: break;
  }
  wx = x_ + (u + 0.5) * w_ / s.w;
  wy = y_ + (v + 0.5) * h_ / s.h;
}

void copy_turned(const platform::Bitmap& screen, int turn, unsigned char* out, int stride) {
  if (!sideways(turn) && turn != 180) {
    for (int y = 0; y < kH; ++y) std::memcpy(out + static_cast<size_t>(y) * stride, screen.picture_row(y), kW * 3);
    return;
  }
  const Size s = turned_screen(turn);
  for (int v = 0; v < s.h; ++v) {
    unsigned char* row = out + static_cast<size_t>(v) * stride;
    for (int u = 0; u < s.w; ++u) {
      int sx = 0, sy = 0;
      screen_pixel_at(turn, u, v, sx, sy);
      std::memcpy(row + u * 3, screen.picture_row(sy) + sx * 3, 3);
    }
  }
}

}  // namespace zeb::sdl
