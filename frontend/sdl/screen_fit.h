#pragma once
// Where the 480 x 640 screen stands in a window of any size: turned by a
// quarter turns for landscape displays, scaled to fit with its aspect kept,
// centred, black around. Drawing and the stylus go through the same
// arithmetic, so a press lands on what is drawn under it. No SDL here: the
// arithmetic is tested on its own.
#include "widgets/bitmap.h"

namespace zeb::sdl {

struct Size {
  int w = 0, h = 0;
};

// The screen's size as it stands on the display: 480 x 640, or 640 x 480
// when turned by 90 or 270 degrees (clockwise).
Size turned_screen(int turn);

// The largest scale at which the turned screen fits into w x h.
double fit_scale(Size area, int turn);

// The first window size: `wanted` times the turned screen when that fits
// the area, otherwise (or when `wanted` is 0) the largest that fits.
Size first_window_size(Size area, int turn, int wanted);

class ScreenFit {
 public:
  ScreenFit(Size window, int turn);

  double scale() const { return scale_; }
  // True when every screen pixel covers a whole number of window pixels.
  bool integer_scale() const;
  // The turned screen's rectangle in the window.
  int x() const { return x_; }
  int y() const { return y_; }
  int w() const { return w_; }
  int h() const { return h_; }

  // The screen pixel under a window point; false when the point lies
  // outside the screen (the black margins). `sx`, `sy` are then the
  // nearest screen pixel.
  bool to_screen(double wx, double wy, int& sx, int& sy) const;
  // The window point at the centre of a screen pixel.
  void to_window(int sx, int sy, double& wx, double& wy) const;

 private:
  int turn_ = 0;
  double scale_ = 1;
  int x_ = 0, y_ = 0, w_ = 0, h_ = 0;
};

// Copies the screen (bottom-up BGR rows) into top-down BGR rows as it
// stands on the display after the turn: turned_screen(turn).h rows of
// `stride` bytes at `out`.
void copy_turned(const platform::Bitmap& screen, int turn, unsigned char* out, int stride);

}  // namespace zeb::sdl
