// The steps of the 100 ms tick that move the page by themselves: drags, held
// zoom taps, held-key scrolling with its wrap-around, the slide show's
// countdown and the repaint requests. app/tick.cpp runs them in order.
#include "view/timer.h"

#include <algorithm>

#include "core/codes.h"
#include "core/control_ids.h"
#include "host/text.h"
#include "view/geometry.h"

namespace zeb {
namespace {

constexpr int kHoldTicks = 5;       // ticks a direction stays active
constexpr int kWrapPauseTicks = 3;  // ticks without scrolling after a wrap
constexpr int kPickerRedrawTicks = 3;

// Moves the offsets for a held scroll request; returns the direction moved,
// or the direction left from an earlier tick.
int move_for_request(ViewerState& s, int speed) {
  int dir = ScrollDir::none;
  switch (s.key_state) {
    case Request::scroll_left: s.scroll_x -= s.lr_mir * speed; dir = ScrollDir::left; break;
    case Request::scroll_right: s.scroll_x += s.lr_mir * speed; dir = ScrollDir::right; break;
    case Request::scroll_down: s.scroll_y += s.ud_mir * speed; dir = ScrollDir::down; break;
    case Request::scroll_up: s.scroll_y -= s.ud_mir * speed; dir = ScrollDir::up; break;
    default: return s.scroll_dir;
  }
  s.scroll_x = std::max(s.scroll_x, 0);
  s.scroll_y = std::max(s.scroll_y, 0);
  s.scroll_dir = dir;
  return dir;
}

// The edge test clamps against the bitmap the geometry measured: the view
// bitmap when the page is turned, the decoded page otherwise.
void clamp_for_edge_test(Viewer& v) {
  ViewerState& s = v.state;
  if (s.v_mode == ZoomMode::normal) return;  // drawing clamps anyway
  const MainWindow& w = v.window;
  const bool turned = s.v_left == 1;
  clamp_scroll_to(s, scaled_size(turned ? w.view_width : w.page_width, turned ? w.view_height : w.page_height, s.zoom,
                                 s.mode_scale));
}

// After edge_wait ticks without change at an edge, jump to the other end
// on each axis that wraps, and pause scrolling briefly.
void wrap_at_edge(ViewerState& s, int state) {
  if (s.edge_wait > 0) return;
  s.edge_wait = kEdgeWaitTicks;
  if (s.lr_lop == 1) {
    const int x = wrap_offset_x(state, s.lr_mir);
    if (x >= 0) {
      s.scroll_x = x;
      s.wrap_pause_ticks = kWrapPauseTicks;
    }
  }
  if (s.ud_lop == 1) {
    const int y = wrap_offset_y(state, s.ud_mir);
    if (y >= 0) {
      s.scroll_y = y;
      s.wrap_pause_ticks = kWrapPauseTicks;
    }
  }
}

}  // namespace

// Drag scrolling. Returns true while a drag runs: nothing else moves meanwhile.
bool run_drag(Viewer& v) {
  ViewerState& s = v.state;
  if (s.drag_pending != 1) return false;
  if (!v.platform.keys.stylus_down()) {
    s.drag_pending = 0;
    return true;
  }
  s.scroll_x = std::max(s.scroll_x + s.drag_dx, 0);
  s.scroll_y = std::max(s.scroll_y + s.drag_dy, 0);
  v.repaint();
  return true;
}

// Zoom while a top corner is held.
void run_held_zoom(Viewer& v) {
  if (v.state.tap_down < 1) return;
  v.state.zoom = held_zoom_step(v.state.zoom, v.state.tap_down);
  v.repaint();
}

// Held-key scrolling, paused while wrap_pause_ticks counts down; returns the
// direction of this tick.
int run_scroll_move(ViewerState& s) {
  if (s.wrap_pause_ticks != 0) {
    s.wrap_pause_ticks = std::max(s.wrap_pause_ticks - 1, 0);
    return s.scroll_dir;
  }
  const bool smooth = s.SC_MODE == 1;
  if (!smooth) s.scroll_speed = s.MAX_SP;
  const int dir = move_for_request(s, s.scroll_speed);
  if (smooth) {
    const SmoothSpeed next = next_smooth_speed({s.scroll_speed, s.scroll_accel_index}, dir,
                                               s.MAX_SP, s.scroll_accel_steps);
    s.scroll_speed = next.speed;
    s.scroll_accel_index = next.accel_index;
  }
  return dir;
}

// The hold counter keeps a direction alive for a few ticks. Returns true
// when this is a movement tick.
bool run_hold_counter(ViewerState& s, int dir) {
  s.scroll_hold_x -= 1;
  if (s.scroll_hold_x > 0) {
    if (dir == ScrollDir::none) s.scroll_hold_y = 1;
  } else {
    s.scroll_hold_x = 0;
    s.scroll_hold_y = 0;
  }
  return dir != ScrollDir::none;
}

// A movement tick: repaint, then the edge test and the wrap-around.
void run_movement_tick(Viewer& v) {
  ViewerState& s = v.state;
  v.repaint();
  if (s.scroll_hold_x == 0) s.scroll_hold_x = kHoldTicks;
  int state = s.scroll_dir;
  if (s.scroll_hold_y == 1) {
    s.scroll_hold_x = 0;
    s.scroll_hold_y = 0;
    s.scroll_dir = ScrollDir::none;
    state = ScrollDir::none;
  }
  clamp_for_edge_test(v);
  if (s.scroll_y == s.prev_scroll_y && state >= ScrollDir::down) s.edge_wait -= 1;
  if (s.scroll_x == s.prev_scroll_x && state <= ScrollDir::right) s.edge_wait -= 1;
  s.prev_scroll_x = s.scroll_x;
  s.prev_scroll_y = s.scroll_y;
  wrap_at_edge(s, state);
  s.scroll_dir = ScrollDir::none;
}

// The slide show's countdown. The countdown is not reset when the slide show
// starts.
bool slide_show_due(ViewerState& s) {
  if (!s.viewing || s.slide_show_on != 1) return false;
  s.slide_countdown -= 1;
  if (s.slide_countdown > 0) return false;
  s.slide_countdown = s.SlideShow;
  return true;
}

// The scroll offsets in the hidden file path box.
void show_scroll_offsets(Viewer& v) {
  v.dialog.set_text(ctl::file_path_box, text::format("%d:%d", v.state.scroll_x, v.state.scroll_y));
}

// Delayed picker redraw and one-shot repaint requests.
void serve_repaint_requests(Viewer& v) {
  ViewerState& s = v.state;
  if (s.picker_redraw_ticks >= 1) {
    s.picker_redraw_ticks += 1;
    if (s.picker_redraw_ticks >= kPickerRedrawTicks) v.repaint();
  }
  if (s.repaint_request == 1) {
    s.repaint_request = 0;
    v.repaint();
  }
}

SmoothSpeed next_smooth_speed(SmoothSpeed current, int dir, int max_speed,
                              const std::array<int, 4>& accel_steps) {
  if (dir == ScrollDir::none) return {1, 0};
  const int index = std::clamp(current.accel_index, 0, 2);
  SmoothSpeed next;
  next.speed = std::min(current.speed + accel_steps[index], max_speed);
  next.accel_index = std::min(index + 1, 2);
  return next;
}

int wrap_offset_x(int state, int lr_mir) {
  if (state != ScrollDir::left && state != ScrollDir::right) return -1;
  if (lr_mir == 1) return state == ScrollDir::left ? kFarEnd : 0;
  if (lr_mir == -1) return state == ScrollDir::left ? 0 : kFarEnd;
  return -1;
}

int wrap_offset_y(int state, int ud_mir) {
  if (state != ScrollDir::down && state != ScrollDir::up) return -1;
  if (ud_mir == 1) return state == ScrollDir::down ? 0 : kFarEnd;
  if (ud_mir == -1) return state == ScrollDir::down ? kFarEnd : 0;
  return -1;
}

float held_zoom_step(float zoom, int tap_down) {
  if (tap_down < 1) return zoom;
  zoom = tap_down == 1 ? zoom - 0.05f : zoom + 0.05f;
  // The limits are compared in double precision: 0.1f itself lies above 0.1.
  if (static_cast<double>(zoom) < 0.1) return 0.1f;
  if (static_cast<double>(zoom) > 3.0) return 3.0f;
  return zoom;
}

}  // namespace zeb
