#pragma once
// The 100 ms tick: requested actions, drag, held zoom, delayed jump, smooth
// scrolling with wrap-around, slide show, repaint requests.
#include <array>

#include "core/viewer.h"

namespace zeb {
void on_timer(Viewer& v);
// The default action (key request 8, the slide show).
void default_action(Viewer& v);
void on_slide_show_clicked(Viewer& v);
void on_random_clicked(Viewer& v);
void on_smooth_clicked(Viewer& v);

// Pure arithmetic of the tick, callable without a viewer.

// Speed of smooth scrolling after one tick: back to 1 on a tick without a
// direction, otherwise raised by the next acceleration step and capped at
// max_speed (pixels per tick).
struct SmoothSpeed {
  int speed = 1;
  int accel_index = 0;
};
SmoothSpeed next_smooth_speed(SmoothSpeed current, int dir, int max_speed,
                              const std::array<int, 4>& accel_steps);

// Offset a wrap-around jumps to for a movement state (1 left, 2 right,
// 3 down, 4 up) and the axis' mirror sign: 0, kFarEnd, or -1 when the state
// makes no jump on that axis.
int wrap_offset_x(int state, int lr_mir);
int wrap_offset_y(int state, int ud_mir);

// One held-zoom step (tap_down 1 out, 2 in), kept within 0.1 .. 3.0.
float held_zoom_step(float zoom, int tap_down);
}  // namespace zeb
