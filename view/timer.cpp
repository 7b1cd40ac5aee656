// The 100 ms tick. Input handlers only leave requests in the viewer state;
// each tick carries them out in a fixed order, then moves the page by itself
// (held keys, drags, held zoom taps, the slide show).
#include "view/timer.h"

#include <algorithm>

#include "app/main_window.h"
#include "core/control_ids.h"
#include "input/navigation.h"
#include "platform/text.h"
#include "sources/folders.h"
#include "sources/sorting.h"

namespace zeb {
namespace {

// key_state request codes the tick carries out.
constexpr int kRequestNext = 8;
constexpr int kRequestPrevious = 10;
constexpr int kRequestBack = 11;
constexpr int kRequestUp = 21;
constexpr int kRequestDown = 22;
constexpr int kRequestLeft = 23;
constexpr int kRequestRight = 24;
constexpr int kRequestFullScreen = 25;
constexpr int kRequestMinimise = 26;
constexpr int kNoRequest = -1;

// Movement directions of scroll_dir (5, a drag, is set by the tap handler).
constexpr int kDirNone = 0;
constexpr int kDirLeft = 1;
constexpr int kDirRight = 2;
constexpr int kDirDown = 3;
constexpr int kDirUp = 4;

constexpr int kHoldTicks = 5;       // ticks a direction stays active
constexpr int kEdgeWaitTicks = 5;   // still ticks at an edge before wrapping
constexpr int kWrapPauseTicks = 3;  // ticks without scrolling after a wrap
constexpr int kPickerRedrawTicks = 3;

constexpr int kScreenW = layout_w * screen_scale;  // pixels
constexpr int kScreenH = layout_h * screen_scale;  // pixels

// Restore after a minimise: the tick that sees a foreground window again
// arms the restore, the next one makes the window full screen. Returns true
// when the tick ends here.
bool run_restore_sequence(Viewer& v) {
  ViewerState& s = v.state;
  if (s.timer_state == 1) {
    platform::Host* host = v.platform.host;
    if (host && host->foreground_window_exists()) s.timer_state = 2;
    return false;
  }
  if (s.timer_state != 2) return false;
  platform::WindowPlacement& w = v.platform.window;
  w.shown = true;
  w.minimized = false;
  // A real size change first, so the platform lays the window out anew.
  w.set_pos(0, 0, layout_w - 1, layout_h - 1, platform::ZOrder::not_topmost);
  w.set_pos(0, 0, kScreenW, kScreenH, platform::ZOrder::topmost);
  reapply_full_screen(v);
  v.dialog.set_focus(ctl::focus_sink);
  v.dialog.show(ctl::focus_sink, false);
  s.timer_state = 0;
  return true;
}

// A requested sort waits until no folder scan blocks loading. The page the
// reader is on stays current: the index follows it and nothing is loaded
// again. Without a current page, the page now at the index is shown.
void run_pending_sort(Viewer& v) {
  ViewerState& s = v.state;
  if (s.sort_request == 0 || s.load_block != 0) return;
  const int moved_to = sort_page_list(v, s.sort_request != 1);
  const bool keep_page = s.page_current == 1 && moved_to >= 0;
  if (keep_page) s.page_index = moved_to;
  update_status(v);
  v.dialog.set_focus(ctl::search_result_edit);
  s.sort_request = 0;
  if (!keep_page) show_page_again(v);
}

// Back and exit: the page view goes back to the browser; elsewhere the
// speed typed so far is taken before the exit question saves the settings.
void run_back_request(Viewer& v) {
  if (v.state.viewing) {
    leave_viewing(v);
    return;
  }
  v.state.MAX_SP = text::parse_int(v.dialog.text(ctl::speed_field));
  back_and_exit(v);
}

// Returns false when the request must wait: the previous page is held back
// while the settings panel is open and ends the tick.
bool run_previous_request(Viewer& v) {
  if (v.state.settings_open) return false;
  if (v.state.viewing) {
    turn_page(v, -1);
    v.repaint();
  } else {
    on_page_list_dblclk(v);
  }
  update_status(v);
  return true;
}

void minimise_window(Viewer& v) {
  platform::WindowPlacement& w = v.platform.window;
  w.set_pos(-1, -1, 1, 1, platform::ZOrder::not_topmost);
  w.set_pos(-1, -1, 1, 1, platform::ZOrder::top);
  w.minimized = true;
  v.state.timer_state = 1;
}

// One-shot requests from keys and taps. Returns false when the tick ends here.
bool run_requested_action(Viewer& v) {
  ViewerState& s = v.state;
  switch (s.key_state) {
    case kRequestNext: default_action(v); break;
    case kRequestBack: run_back_request(v); break;
    case kRequestPrevious:
      if (!run_previous_request(v)) return false;
      break;
    case kRequestFullScreen: reapply_full_screen(v); break;
    case kRequestMinimise: minimise_window(v); break;
    default: return true;  // held scroll requests stay for the scroll step
  }
  s.key_state = kNoRequest;
  return true;
}

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

// Moves the offsets for a held scroll request; returns the direction moved,
// or the direction left from an earlier tick.
int move_for_request(ViewerState& s, int speed) {
  int dir = kDirNone;
  switch (s.key_state) {
    case kRequestLeft: s.scroll_x -= s.lr_mir * speed; dir = kDirLeft; break;
    case kRequestRight: s.scroll_x += s.lr_mir * speed; dir = kDirRight; break;
    case kRequestDown: s.scroll_y += s.ud_mir * speed; dir = kDirDown; break;
    case kRequestUp: s.scroll_y -= s.ud_mir * speed; dir = kDirUp; break;
    default: return s.scroll_dir;
  }
  s.scroll_x = std::max(s.scroll_x, 0);
  s.scroll_y = std::max(s.scroll_y, 0);
  s.scroll_dir = dir;
  return dir;
}

// Held-key scrolling, paused while load_block counts down; returns the
// direction of this tick.
int run_scroll_move(ViewerState& s) {
  if (s.load_block != 0) {
    s.load_block = std::max(s.load_block - 1, 0);
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
    if (dir == kDirNone) s.scroll_hold_y = 1;
  } else {
    s.scroll_hold_x = 0;
    s.scroll_hold_y = 0;
  }
  return dir != kDirNone;
}

int clamp_offset(int offset, int displayed, int screen) {
  if (displayed > screen) return std::min(offset, displayed - screen);
  return 0;
}

// The edge test clamps against the bitmap the geometry measured: the view
// bitmap when the page is turned, the decoded page otherwise.
void clamp_for_edge_test(Viewer& v) {
  ViewerState& s = v.state;
  if (s.v_mode == 0) return;  // drawing clamps anyway
  const MainWindow& w = v.window;
  const bool turned = s.v_left == 1;
  const float wb = static_cast<float>(turned ? w.view_width : w.page_width);
  const float hb = static_cast<float>(turned ? w.view_height : w.page_height);
  const int wd = static_cast<int>(wb * s.zoom * s.mode_scale);
  const int hd = static_cast<int>(hb * s.zoom * s.mode_scale);
  s.scroll_x = clamp_offset(s.scroll_x, wd, kScreenW);
  s.scroll_y = clamp_offset(s.scroll_y, hd, kScreenH);
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
      s.load_block = kWrapPauseTicks;
    }
  }
  if (s.ud_lop == 1) {
    const int y = wrap_offset_y(state, s.ud_mir);
    if (y >= 0) {
      s.scroll_y = y;
      s.load_block = kWrapPauseTicks;
    }
  }
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
    s.scroll_dir = kDirNone;
    state = 0;
  }
  clamp_for_edge_test(v);
  if (s.scroll_y == s.prev_scroll_y && state >= kDirDown) s.edge_wait -= 1;
  if (s.scroll_x == s.prev_scroll_x && state <= kDirRight) s.edge_wait -= 1;
  s.prev_scroll_x = s.scroll_x;
  s.prev_scroll_y = s.scroll_y;
  wrap_at_edge(s, state);
  s.scroll_dir = kDirNone;
}

// The slide show. The countdown is not reset when the slide show starts.
void run_slide_show(Viewer& v) {
  ViewerState& s = v.state;
  if (!s.viewing || s.slide_show_on != 1) return;
  s.slide_countdown -= 1;
  if (s.slide_countdown > 0) return;
  s.slide_countdown = s.SlideShow;
  default_action(v);
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

}  // namespace

void on_timer(Viewer& v) {
  if (run_restore_sequence(v)) return;
  run_pending_sort(v);
  if (!run_requested_action(v)) return;
  if (run_drag(v)) return;
  run_held_zoom(v);
  run_delayed_jump(v);
  const int dir = run_scroll_move(v.state);
  if (run_hold_counter(v.state, dir)) run_movement_tick(v);
  run_slide_show(v);
  show_scroll_offsets(v);
  serve_repaint_requests(v);
}

// Next page, or entry into viewing from the browser: the window's OK action.
void default_action(Viewer& v) { ok_action(v); }

void on_slide_show_clicked(Viewer& v) {
  v.state.slide_show_on = v.state.slide_show_on ? 0 : 1;
  v.dialog.set_check(ctl::slide_show_check, v.state.slide_show_on != 0);
}

void on_random_clicked(Viewer& v) {
  v.state.random_page = v.state.random_page ? 0 : 1;
  v.dialog.set_check(ctl::random_check, v.state.random_page != 0);
}

// The configuration leaves -1 for "off"; any value but 0 counts as on here.
void on_smooth_clicked(Viewer& v) {
  v.state.SC_MODE = v.state.SC_MODE == 0 ? 1 : 0;
  v.dialog.set_check(ctl::smooth_check, v.state.SC_MODE != 0);
}

SmoothSpeed next_smooth_speed(SmoothSpeed current, int dir, int max_speed,
                              const std::array<int, 4>& accel_steps) {
  if (dir == kDirNone) return {1, 0};
  const int index = std::clamp(current.accel_index, 0, 2);
  SmoothSpeed next;
  next.speed = std::min(current.speed + accel_steps[index], max_speed);
  next.accel_index = std::min(index + 1, 2);
  return next;
}

int wrap_offset_x(int state, int lr_mir) {
  if (state != kDirLeft && state != kDirRight) return -1;
  if (lr_mir == 1) return state == kDirLeft ? kFarEnd : 0;
  if (lr_mir == -1) return state == kDirLeft ? 0 : kFarEnd;
  return -1;
}

int wrap_offset_y(int state, int ud_mir) {
  if (state != kDirDown && state != kDirUp) return -1;
  if (ud_mir == 1) return state == kDirDown ? 0 : kFarEnd;
  if (ud_mir == -1) return state == kDirDown ? kFarEnd : 0;
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
