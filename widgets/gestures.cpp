#include "widgets/gestures.h"

#include <algorithm>
#include <cstdlib>

#include "widgets/draw.h"

namespace zeb::platform {
namespace {

void scroll_to(Control& list, int top) { list.top_index = std::clamp(top, 0, list_max_top(list)); }

// The list's top index for a scroll-bar press at py: the bar's length spans
// every top index. True when the list has a bar.
bool scroll_by_bar(Control& list, int py) {
  const Rect bar = list_scroll_bar(list);
  if (bar.h <= 0) return false;
  const int max_top = list_max_top(list);
  scroll_to(list, ((py - bar.y) * (max_top + 1)) / bar.h);
  return true;
}

}  // namespace

StylusGestures::Step StylusGestures::down(Dialog& d, int target, int px, int py, int clicks) {
  control_ = target;
  pending_list_ = pending_edit_ = 0;
  Control* c = control_ ? d.find(control_) : nullptr;
  if (c && c->kind == Kind::list) return press_list(d, *c, px, py, clicks);
  last_list_ = 0;  // a press elsewhere ends any pair
  if (!c) {
    // A press beside an open drop-down only closes it.
    if (any_drop_down_open(d)) {
      close_drop_downs(d);
      mode_ = Mode::none;
      return {false, true};
    }
    mode_ = Mode::window;
    return {true, false};
  }
  mode_ = Mode::control;
  if (c->kind == Kind::edit) pending_edit_ = c->id;
  return {true, false};
}

StylusGestures::Step StylusGestures::press_list(Dialog& d, Control& list, int px, int py, int clicks) {
  // The second, fourth ... press at one place completes a pair.
  const bool second = clicks % 2 == 0 && list.id == last_list_;
  if (second && last_refilled_) {
    swallow();
    return {};
  }
  last_list_ = 0;
  if (list_scroll_bar(list).contains(px, py)) {
    mode_ = Mode::scroll_bar;
    d.set_focus(list.id);
    return {false, scroll_by_bar(list, py)};
  }
  mode_ = Mode::control;
  press_y_ = py;
  press_top_ = list.top_index;
  pending_list_ = list.id;
  pending_item_ = list_item_at(list, px, py);
  pending_refills_ = list.refills;
  pending_second_ = second;
  return {true, false};
}

// The first click's choice filled the list anew (a folder opened): the
// item now under the pointer is none the reader saw, so the second click
// and its double-click belong to the first click and choose nothing. The
// next press is a new choice.
void StylusGestures::swallow() {
  mode_ = Mode::none;
  control_ = 0;
  last_list_ = 0;
}

Outcome StylusGestures::after_press(Dialog& d, int px, int /*py*/) {
  if (pending_edit_) {
    Control* edit = d.find(pending_edit_);
    pending_edit_ = 0;
    if (edit && d.focus() == control_) edit->caret = edit_caret_at(*edit, px, true);
    return {};
  }
  const Control* list = pending_list_ ? d.find(pending_list_) : nullptr;
  pending_list_ = 0;
  if (!list) return {};
  if (pending_second_ && pending_item_ >= 0 && pending_item_ == last_item_) return {list->id, Notify::dblclick};
  last_list_ = list->id;
  last_item_ = pending_item_;
  last_refilled_ = list->refills != pending_refills_;
  return {};
}

StylusGestures::Step StylusGestures::move(Dialog& d, int /*px*/, int py) {
  Control* c = control_ ? d.find(control_) : nullptr;
  switch (mode_) {
    case Mode::none: return {};
    case Mode::window: return {true, false};
    case Mode::scroll_bar: return {false, c && scroll_by_bar(*c, py)};
    case Mode::control:
      if (c && c->kind == Kind::list && std::abs(py - press_y_) >= kDragThreshold) mode_ = Mode::list_drag;
      else return {true, false};
      [[fallthrough]];
    case Mode::list_drag:
      // The items follow the stylus.
      if (c) scroll_to(*c, press_top_ - (py - press_y_) / kListItemHeight);
      last_list_ = 0;  // a drag is no click of a double-click
      return {false, true};
  }
  return {};
}

void StylusGestures::up() {
  mode_ = Mode::none;
  control_ = 0;
}

StylusGestures::Point StylusGestures::cancel_point(const Dialog& d) const {
  const Control* c = control_ ? d.find(control_) : nullptr;
  return c ? Point{c->rect.x - 1, c->rect.y - 1} : Point{};
}

}  // namespace zeb::platform
