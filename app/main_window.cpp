// Window-level actions: OK, back and exit, the settings toggle, full screen
// again, quitting at once, and the control colours.
#include "app/main_window.h"

#include "app/page_steps.h"
#include "app/panels.h"
#include "core/codes.h"
#include "core/control_ids.h"
#include "image/read_ahead.h"
#include "settings/bookmarks.h"
#include "settings/config.h"
#include "settings/settle_save.h"
#include "settings/zoom_fields.h"
#include "view/geometry.h"

namespace zeb {
namespace {

void restore_after_question(Viewer& v) {
  auto& w = v.platform.window;
  if (v.state.settings_open == 1) {
    w.set_pos(0, 0, screen_w, screen_h, platform::ZOrder::not_topmost);
    w.set_pos(0, 0, screen_w, screen_h, platform::ZOrder::topmost);
    w.set_pos(0, 0, screen_w, screen_h, platform::ZOrder::not_topmost);
  } else {
    w.set_pos(0, 0, screen_w, screen_h, platform::ZOrder::topmost);
  }
}

}  // namespace

void ok_action(Viewer& v) {
  if (v.state.settings_open == 1) return;
  // The next page; an index left past the end by an earlier change wraps
  // to the first page. The status line is shown even when no page turned.
  if (v.state.viewing == 0) {
    enter_page_view(v);
  } else {
    step_forward(v, 1, Overshoot::to_first);
  }
  update_status(v);
}

void leave_viewing(Viewer& v) {
  cancel_read_ahead(v.window);
  v.state.viewing = 0;
  apply_panel_mode(v, PanelMode::lists);
  v.dialog.set_focus(ctl::page_list);
  v.dialog.set_selection(ctl::page_list, v.state.page_index);
  v.repaint();
}

void back_and_exit(Viewer& v) {
  if (v.state.exit_guard == 1) return;
  v.state.exit_guard = 1;
  if (v.state.viewing == 1) {
    leave_viewing(v);
  } else {
    auto& w = v.platform.window;
    w.set_pos(0, 0, 0, 0, platform::ZOrder::not_topmost);
    w.shown = true;
    const bool yes = v.platform.host && v.platform.host->message_box(u"終了しますか？", u"ZEBの終了");
    if (yes) save_and_end(v);
    restore_after_question(v);
  }
  v.state.exit_guard = 0;
}

void settings_toggle(Viewer& v) {
  if (v.state.settings_open == 1) {
    v.dialog.set_text(ctl::settings_button, u"設定");
    v.state.settings_open = 0;
  } else {
    v.dialog.set_text(ctl::settings_button, u"戻る");
    v.state.settings_open = 1;
  }
  apply_panel_mode(v, PanelMode::lists);
  v.repaint();
}

void full_screen_setup(Viewer& v) {
  auto& w = v.platform.window;
  w.shown = true;
  w.minimized = false;
  w.set_pos(0, 0, screen_w, screen_h, platform::ZOrder::top);
  ++w.full_screen_requests;
}

void reapply_full_screen(Viewer& v) {
  full_screen_setup(v);
  sync_mode_radios(v.dialog, v.state.v_mode);
}

void minimise_window(Viewer& v) {
  platform::WindowPlacement& w = v.platform.window;
  w.set_pos(-1, -1, 1, 1, platform::ZOrder::not_topmost);
  w.set_pos(-1, -1, 1, 1, platform::ZOrder::top);
  w.minimized = true;
  v.state.timer_state = 1;
}

void quit_at_once(Viewer& v) { v.platform.end_main_window(); }

void save_and_end(Viewer& v) {
  finish_settle_save(v);
  write_configuration(v);
  write_bookmarks(v);
  v.platform.end_main_window();
}

long long control_colour(int id) {
  switch (id) {
    case ctl::mode_radio_1: case ctl::mode_radio_2: case ctl::mode_radio_3:
    case ctl::mode_radio_4: case ctl::mode_radio_5: case ctl::mode_radio_6:
      return 0x0000FF;  // red, as 0x00BBGGRR
    default:
      return -1;
  }
}

void reassert_window(Viewer& v) {
  auto& w = v.platform.window;
  w.set_pos(0, 0, screen_w, screen_h, platform::ZOrder::not_topmost);
  w.set_pos(0, 0, screen_w, screen_h, platform::ZOrder::topmost);
}

}  // namespace zeb
