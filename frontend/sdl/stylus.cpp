#include "frontend/sdl/stylus.h"

#include <algorithm>

#include "app/messages.h"
#include "platform/draw.h"

namespace zeb::sdl {
namespace {

using platform::Control;
using platform::Kind;

constexpr int kDragThreshold = 12;  // pixels a list press moves before it scrolls

void scroll_to(Control& list, int top) {
  list.top_index = std::clamp(top, 0, platform::list_max_top(list));
}

// The list's top index for a scroll-bar press at py: the bar's length spans
// every top index.
void scroll_by_bar(Viewer& v, Control& list, int py) {
  const platform::Rect bar = platform::list_scroll_bar(list);
  if (bar.h <= 0) return;
  const int max_top = platform::list_max_top(list);
  scroll_to(list, ((py - bar.y) * (max_top + 1)) / bar.h);
  v.repaint();
}

bool any_drop_down_open(const Viewer& v) {
  for (const Control& c : v.dialog.controls())
    if (c.dropped_down) return true;
  return false;
}

}  // namespace

void Stylus::down(Viewer& v, int px, int py, int clicks) {
  press_ = begin_press(v, px, py);
  control_ = press_.control;
  Control* c = control_ ? v.dialog.find(control_) : nullptr;
  if (c && c->kind == Kind::list) return press_list(v, *c, px, py, clicks);
  last_list_ = 0;  // a press elsewhere ends any pair
  if (!c) {
    // A press beside an open drop-down only closes it.
    if (any_drop_down_open(v)) {
      for (Control& other : v.dialog.controls()) other.dropped_down = false;
      mode_ = Mode::none;
      press_.to = Press::To::nothing;
      v.repaint();
      return;
    }
    mode_ = Mode::window;
    press(v, press_, px, py);
    return;
  }
  mode_ = Mode::control;
  press(v, press_, px, py);
  if (c->kind == Kind::edit && v.dialog.focus() == control_)
    c->caret = platform::edit_caret_at(*c, px, true);
}

void Stylus::press_list(Viewer& v, Control& list, int px, int py, int clicks) {
  // The second, fourth ... press at one place completes a pair.
  const bool second = clicks % 2 == 0 && list.id == last_list_;
  if (second && last_refilled_) return swallow();
  last_list_ = 0;
  const platform::Rect bar = platform::list_scroll_bar(list);
  if (bar.contains(px, py)) {
    mode_ = Mode::scroll_bar;
    press_.to = Press::To::nothing;
    v.dialog.set_focus(list.id);
    scroll_by_bar(v, list, py);
    return;
  }
  mode_ = Mode::control;
  press_y_ = py;
  press_top_ = list.top_index;
  const int item = platform::list_item_at(list, px, py);
  const unsigned refills = list.refills;
  press(v, press_, px, py);
  if (second && item >= 0 && item == last_item_) return notify(v, list.id, Notify::dblclick);
  last_list_ = list.id;
  last_item_ = item;
  last_refilled_ = list.refills != refills;
}

// The first click's choice filled the list anew (a folder opened): the
// item now under the pointer is none the reader saw, so the second click
// and its double-click belong to the first click and choose nothing. The
// next press is a new choice.
void Stylus::swallow() {
  mode_ = Mode::none;
  press_.to = Press::To::nothing;
  control_ = 0;
  last_list_ = 0;
}

void Stylus::move(Viewer& v, int px, int py) {
  Control* c = control_ ? v.dialog.find(control_) : nullptr;
  switch (mode_) {
    case Mode::none: return;
    case Mode::window: return drag(v, press_, px, py);
    case Mode::scroll_bar:
      if (c) scroll_by_bar(v, *c, py);
      return;
    case Mode::control:
      if (c && c->kind == Kind::list && std::abs(py - press_y_) >= kDragThreshold) mode_ = Mode::list_drag;
      else return drag(v, press_, px, py);
      [[fallthrough]];
    case Mode::list_drag:
      // The items follow the stylus.
      if (c) scroll_to(*c, press_top_ - (py - press_y_) / platform::kListItemHeight);
      last_list_ = 0;  // a drag is no click of a double-click
      v.repaint();
      return;
  }
}

void Stylus::up(Viewer& v, int px, int py) {
  const Press pressed = press_;
  mode_ = Mode::none;
  press_ = {};
  control_ = 0;
  release(v, pressed, px, py);
}

void Stylus::cancel(Viewer& v) {
  if (mode_ == Mode::none) return;
  // The press ends where the stylus was last seen.
  const Control* c = control_ ? v.dialog.find(control_) : nullptr;
  up(v, c ? c->rect.x - 1 : 0, c ? c->rect.y - 1 : 0);
}

}  // namespace zeb::sdl
