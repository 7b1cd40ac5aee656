// Page steps with their wrap and stop rules, the status line, moves between
// sibling locations, the pop-up menu commands and the delayed jump.
#include "input/navigation.h"

#include "core/control_ids.h"
#include "image/page_loader.h"
#include "image/read_ahead.h"
#include "platform/text.h"
#include "settings/presets.h"
#include "sources/folders.h"
#include "sources/sorting.h"
#include "view/geometry.h"

namespace zeb {

namespace {

constexpr int kPresetMenuBase = 7200;
constexpr int kSiblingMenuBase = 8200;

int page_count(const Viewer& v) { return v.dialog.item_count(ctl::page_list); }

// Back: from the first page to the last, otherwise by step but never
// before the first page. Not guarded by `turning`; never random.
void turn_back(Viewer& v, int step) {
  auto& s = v.state;
  int count = page_count(v);
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

// Forward, or a reload when step is 0, guarded against re-entry.
void turn_forward(Viewer& v, int step) {
  auto& s = v.state;
  if (s.turning == 1) return;
  s.turning = 1;
  int count = page_count(v);
  if (count == 0) {
    s.turning = 0;
    return;
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
    if (s.page_index >= count) s.page_index = count - 1;
  }
  load_current_page(v);
  s.turning = 0;
  v.repaint();
  update_status(v);
}

// Index of the sibling after (+1) or before (-1) the one the path box
// names, wrapping at both ends; the first sibling when none matches.
int neighbour_sibling(const Viewer& v, int direction) {
  const auto& d = v.dialog;
  int count = d.item_count(ctl::sibling_list);
  std::u16string current = d.text(ctl::path_box);
  for (int i = 0; i < count; ++i) {
    if (d.item_text(ctl::sibling_list, i) != current) continue;
    int target = i + direction;
    if (target >= count) return 0;
    if (target < 0) return count - 1;
    return target;
  }
  return 0;
}

}  // namespace

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
  return text::format("%4d/%4d[", index + 1, page_count(v)) + v.dialog.item_text(ctl::page_list, index) + u"]";
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
  int count = page_count(v);
  // With an empty list the index stays as it is rather than turning -1.
  if (count > 0 && s.page_index > count - 1) s.page_index = count - 1;
  d.set_text(ctl::status_line, status_text(v, s.page_index));
  v.repaint();
}

void next_sibling(Viewer& v) {
  if (v.dialog.item_count(ctl::sibling_list) == 0) return;
  change_location(v, v.dialog.item_text(ctl::sibling_list, neighbour_sibling(v, +1)));
}

void previous_sibling(Viewer& v) {
  if (v.dialog.item_count(ctl::sibling_list) == 0) return;
  change_location(v, v.dialog.item_text(ctl::sibling_list, neighbour_sibling(v, -1)));
}

void change_location(Viewer& v, const std::u16string& path) {
  auto& s = v.state;
  s.LastDir = path;
  v.dialog.set_text(ctl::path_box, path);
  s.page_index = 0;
  open_location(v);
  if (s.SO_CH == 1) {
    request_sort(v, s.SO_CHF != 0);
  } else {
    show_page_again(v);
  }
}

void dispatch_menu_command(Viewer& v, int id) {
  auto& s = v.state;
  auto& d = v.dialog;
  if (id >= kPresetMenuBase && id <= kPresetMenuBase - 1 + s.list_count) {
    d.set_selection(ctl::preset_box, id - kPresetMenuBase);
    run_preset(v, PresetMode::load);
    compute_view_geometry(v);
  }
  // A command naming a sibling the list no longer holds is ignored rather
  // than taken as the empty path (the root).
  int sibling = id - kSiblingMenuBase;
  if (id >= kSiblingMenuBase && id <= kSiblingMenuBase - 1 + s.list_count &&
      sibling < d.item_count(ctl::sibling_list)) {
    change_location(v, d.item_text(ctl::sibling_list, sibling));
  }
}

void on_slider_scroll(Viewer& v) {
  auto& s = v.state;
  auto& d = v.dialog;
  if (page_count(v) == 0) return;
  cancel_read_ahead(v);
  s.page_index = d.pos(ctl::page_slider);
  s.select_delay = s.select_delay_ticks;
  d.set_text(ctl::status_line, status_text(v, s.page_index));
  d.set_pos(ctl::page_slider, s.page_index);
}

void run_delayed_jump(Viewer& v) {
  auto& s = v.state;
  if (s.select_delay <= 0) return;
  if (--s.select_delay > 0) return;
  if (page_count(v) == 0) return;
  update_status(v);
  int selected = v.dialog.selection(ctl::page_list);
  if (selected >= 0) s.page_index = selected;
  v.dialog.set_text(ctl::status_line, status_text(v, s.page_index));
  load_current_page(v);
}

void read_ahead_next_turn(Viewer& v) {
  const ViewerState& s = v.state;
  const int count = page_count(v);
  // Random order has no next page to know; a pending jump, sort or folder
  // scan loads something else next.
  if (!v.platform.read_ahead || s.viewing != 1 || s.settings_open != 0 || s.random_page != 0 || s.load_block != 0 ||
      s.select_delay > 0 || s.sort_request != 0 || count == 0 || s.page_index < 0 || s.page_index >= count)
    return;
  int next = s.page_index + (v.window.turn_direction < 0 ? -1 : 1);
  if (next < 0) next = count - 1;
  if (next >= count) next = 0;
  read_ahead_page(v, next, page_path(v, next));
}

}  // namespace zeb
