// The keyboard's page keys and the mouse wheel: page steps in the page view,
// list scrolling in the browser.
#include "app/desktop_input.h"

#include <algorithm>

#include "app/page_steps.h"
#include "app/routing.h"
#include "core/codes.h"
#include "core/control_ids.h"
#include "core/virtual_keys.h"
#include "widgets/draw.h"

namespace zeb {
namespace {

using platform::Control;
using platform::Kind;

constexpr int kWheelRows = 3;  // list rows per wheel step

// Keys typed into a shown edit box (the preset name, the number fields)
// belong to it; the hidden focus sink takes nothing.
bool edit_has_focus(const Viewer& v) {
  const Control* c = v.dialog.find(v.dialog.focus());
  return c && c->visible && (c->kind == Kind::edit || (c->kind == Kind::combo && c->editable));
}

// The first or last page, loaded as a reload of the current index is: no
// wrap-around, the status line follows.
void show_end_page(Viewer& v, bool last) {
  const int count = v.dialog.item_count(ctl::page_list);
  if (count == 0) return;
  v.state.page_index = last ? count - 1 : 0;
  turn_page(v, 0);
}

Control* open_drop_down_at(Viewer& v, int px, int py) {
  for (Control& c : v.dialog.controls())
    if (c.kind == Kind::combo && c.dropped_down && platform::combo_drop_rect(c).contains(px, py)) return &c;
  return nullptr;
}

bool any_drop_down_open(const Viewer& v) {
  return std::any_of(v.dialog.controls().begin(), v.dialog.controls().end(),
                     [](const Control& c) { return c.dropped_down; });
}

void scroll_list(Viewer& v, Control& list, int rows) {
  list.top_index = std::clamp(list.top_index + rows, 0, platform::list_max_top(list));
  v.repaint();
}

}  // namespace

bool desktop_page_key(Viewer& v, int vk) {
  if (v.state.viewing != 1 || v.state.settings_open == 1 || edit_has_focus(v)) return false;
  switch (vk) {
    case vk::page_down:
    case vk::space: v.state.key_state = Request::next; return true;
    case vk::page_up: v.state.key_state = Request::previous; return true;
    case vk::home: show_end_page(v, false); return true;
    case vk::end: show_end_page(v, true); return true;
    default: return false;
  }
}

void wheel(Viewer& v, int px, int py, int steps) {
  if (steps == 0) return;
  if (Control* combo = open_drop_down_at(v, px, py)) {
    // The drop-down is measured as the list it shows.
    Control list = *combo;
    list.rect = platform::combo_drop_rect(*combo);
    combo->top_index = std::clamp(combo->top_index - steps * kWheelRows, 0, platform::list_max_top(list));
    v.repaint();
    return;
  }
  if (v.state.viewing == 1 && !any_drop_down_open(v)) {
    v.state.key_state = steps < 0 ? Request::next : Request::previous;
    return;
  }
  Control* c = v.dialog.find(platform::control_at(v.dialog, px, py));
  if (c && c->kind == Kind::list) scroll_list(v, *c, -steps * kWheelRows);
}

}  // namespace zeb
