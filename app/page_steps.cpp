// Page steps with their wrap and stop rules, entering the page view, the
// status line and the delayed jump.
#include "app/page_steps.h"

#include <algorithm>

#include "app/load_page.h"
#include "app/panels.h"
#include "core/codes.h"
#include "core/control_ids.h"
#include "host/text.h"
#include "image/page_loader.h"
#include "image/read_ahead.h"
#include "view/geometry.h"

namespace zeb {

namespace {

// Back: from the first page to the last, otherwise by step but never
// before the first page. Not guarded by `turning`; never random.
void turn_back(Viewer& v, int step) {
  auto& s = v.state;
  int count = page_count(v.dialog);
  if (count == 0) return;
  v.window.turn_direction = -1;
  if (s.page_index == 0) {
    s.page_index = count - 1;
  } else {
    s.page_index += step;
    if (s.page_index < 0) s.page_index = 0;
    // An index left beyond the list by an earlier change must not name an
    // entry that does not exist.
    if (s.page_index >= count) s.page_index = count - 1;
  }
  load_current_page(v);
  update_status(v);
}

// Forward, or a reload when step is 0: the status line follows a turn.
void turn_forward(Viewer& v, int step) {
  if (step_forward(v, step, Overshoot::to_last)) update_status(v);
}

}  // namespace

int page_count(const platform::Dialog& d) { return d.item_count(ctl::page_list); }

bool step_forward(Viewer& v, int step, Overshoot overshoot) {
  auto& s = v.state;
  if (s.turning == 1) return false;
  s.turning = 1;
  int count = page_count(v.dialog);
  if (count == 0) {
    s.turning = 0;
    return false;
  }
  v.window.turn_direction = 1;
  if (step == 0) {
    if (s.page_index >= count || s.page_index < 1) s.page_index = 0;
  } else if (s.random_page == 1) {
    s.page_index = v.platform.random.next() % count;
  } else if (s.page_index == count - 1) {
    s.page_index = 0;
  } else {
    s.page_index += step;
    if (s.page_index >= count) s.page_index = overshoot == Overshoot::to_first ? 0 : count - 1;
  }
  load_current_page(v);
  s.turning = 0;
  v.repaint();
  return true;
}

void turn_page(Viewer& v, int step) {
  if (step < 0) {
    turn_back(v, step);
  } else {
    turn_forward(v, step);
  }
}

void show_page_again(Viewer& v) {
  const int current = v.state.page_current;
  turn_page(v, 0);
  v.state.page_current = current;
}

std::u16string status_text(const Viewer& v, int index) {
  return text::format("%4d/%4d[", index + 1, page_count(v.dialog)) + v.dialog.item_text(ctl::page_list, index) + u"]";
}

std::u16string page_path(const Viewer& v, int index) {
  return v.state.LastDir + u"\\" + v.dialog.item_text(ctl::page_list, index);
}

int load_current_page(Viewer& v) { return load_page(v, page_path(v, v.state.page_index)); }

void update_status(Viewer& v) {
  auto& s = v.state;
  auto& d = v.dialog;
  d.set_selection(ctl::page_list, s.page_index);
  d.set_pos(ctl::page_slider, s.page_index);
  int count = page_count(v.dialog);
  // With an empty list the index stays as it is rather than turning -1.
  if (count > 0 && s.page_index > count - 1) s.page_index = count - 1;
  d.set_text(ctl::status_line, status_text(v, s.page_index));
  v.repaint();
}

void enter_page_view(Viewer& v) {
  auto& s = v.state;
  auto& d = v.dialog;
  if (s.viewing == 1) return;
  int selected = d.selection(ctl::page_list);
  if (selected >= 0) s.page_index = selected;
  std::u16string path = page_path(v, std::max(selected, 0));
  d.set_text(ctl::page_path_edit, path);
  s.viewing = 1;
  v.window.turn_direction = 1;
  load_page(v, path);
  d.set_text(ctl::file_path_box, path);

  apply_panel_mode(v, PanelMode::page_view);
  int mode = d.selection(ctl::mode_combo);
  if (mode >= 0) s.v_mode = mode;
  compute_view_geometry(v);
  v.repaint();
  v.repaint();
}

void run_delayed_jump(Viewer& v) {
  auto& s = v.state;
  if (s.select_delay <= 0) return;
  if (--s.select_delay > 0) return;
  if (page_count(v.dialog) == 0) return;
  update_status(v);
  int selected = v.dialog.selection(ctl::page_list);
  if (selected >= 0) s.page_index = selected;
  v.dialog.set_text(ctl::status_line, status_text(v, s.page_index));
  load_current_page(v);
}

void read_ahead_next_turn(Viewer& v) {
  const ViewerState& s = v.state;
  const int count = page_count(v.dialog);
  // Random order has no next page to know; a pending jump, sort or folder
  // scan loads something else next.
  if (!v.platform.read_ahead || s.viewing != 1 || s.settings_open != 0 || s.random_page != 0 || s.folder_scan != 0 ||
      s.wrap_pause_ticks != 0 || s.select_delay > 0 || s.sort_request != 0 || count == 0 || s.page_index < 0 ||
      s.page_index >= count)
    return;
  int next = s.page_index + (v.window.turn_direction < 0 ? -1 : 1);
  if (next < 0) next = count - 1;
  if (next >= count) next = 0;
  read_ahead_page(v, next, page_path(v, next));
}

}  // namespace zeb
