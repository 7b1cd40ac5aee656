// The 100 ms tick. Input handlers only leave requests in the viewer state;
// each tick carries them out in a fixed order, then moves the page by itself
// (held keys, drags, held zoom taps, the slide show).
#include "app/tick.h"

#include "app/main_window.h"
#include "app/page_steps.h"
#include "app/sort_pages.h"
#include "core/codes.h"
#include "core/control_ids.h"
#include "host/text.h"
#include "view/timer.h"

namespace zeb {
namespace {

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
  w.set_pos(0, 0, screen_w, screen_h, platform::ZOrder::topmost);
  reapply_full_screen(v);
  v.dialog.set_focus(ctl::focus_sink);
  v.dialog.show(ctl::focus_sink, false);
  s.timer_state = 0;
  return true;
}

// A requested sort waits while a folder scan or a wrap pause runs. The page the
// reader is on stays current: the index follows it and nothing is loaded
// again. Without a current page, the page now at the index is shown.
void run_pending_sort(Viewer& v) {
  ViewerState& s = v.state;
  if (s.sort_request == 0 || s.folder_scan != 0 || s.wrap_pause_ticks != 0) return;
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
    enter_page_view(v);
  }
  update_status(v);
  return true;
}

// One-shot requests from keys and taps. Returns false when the tick ends here.
bool run_requested_action(Viewer& v) {
  ViewerState& s = v.state;
  switch (s.key_state) {
    case Request::next: ok_action(v); break;
    case Request::back: run_back_request(v); break;
    case Request::previous:
      if (!run_previous_request(v)) return false;
      break;
    case Request::full_screen: reapply_full_screen(v); break;
    case Request::minimise: minimise_window(v); break;
    default: return true;  // held scroll requests stay for the scroll step
  }
  s.key_state = Request::served;
  return true;
}

// The slide show turns the page as the window's OK action does.
void run_slide_show(Viewer& v) {
  if (slide_show_due(v.state)) ok_action(v);
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

}  // namespace zeb
