#pragma once
// The steps of the 100 ms tick that move the page by themselves: drag, held
// zoom, smooth scrolling with wrap-around, the slide show's countdown, the
// repaint requests.
#include <array>

#include "core/viewer.h"

namespace zeb {
// The tick's steps, in the order app/tick.cpp runs them.

// Drag scrolling. Returns true while a drag runs: nothing else moves meanwhile.
bool run_drag(Viewer& v);
// Zoom while a top corner is held.
void run_held_zoom(Viewer& v);
// Held-key scrolling, paused while wrap_pause_ticks counts down; returns the
// direction of this tick.
int run_scroll_move(ViewerState& s);
// The hold counter keeps a direction alive for a few ticks. Returns true
// when this is a movement tick.
bool run_hold_counter(ViewerState& s, int dir);
// A movement tick: repaint, then the edge test and the wrap-around.
void run_movement_tick(Viewer& v);
// Counts the slide show down; true on the tick the next page is due.
bool slide_show_due(ViewerState& s);
// The scroll offsets in the hidden file path box.
void show_scroll_offsets(Viewer& v);
// Delayed picker redraw and one-shot repaint requests.
void serve_repaint_requests(Viewer& v);

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
