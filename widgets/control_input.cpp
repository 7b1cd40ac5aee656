#include "widgets/control_input.h"

#include <algorithm>

#include "widgets/draw.h"

namespace zeb::platform {
namespace {

// An answer without a notification.
Outcome quiet(int id) { return {id, std::nullopt, false}; }

bool starts_group(const Control& c) { return c.kind == Kind::radio && c.group_start; }

// The radio buttons of the group `radio` belongs to, in dialog order: from
// the nearest group start at or before it up to the next group start.
void check_radio_in_group(Dialog& d, const Control& radio) {
  std::vector<Control>& all = d.controls();
  const auto at = std::find_if(all.begin(), all.end(), [&](const Control& c) { return &c == &radio; });
  auto first = at;
  while (first != all.begin() && !starts_group(*first)) --first;
  const auto last = std::find_if(at + 1, all.end(), starts_group);
  const int id = radio.id;
  for (auto c = first; c != last; ++c)
    if (c->kind == Kind::radio) c->checked = c->id == id;
}

Outcome move_slider(Dialog& d, Control& c, int px) {
  const int pos = slider_pos_at(c, px);
  if (pos == c.pos) return quiet(c.id);
  d.set_pos(c.id, pos);
  return {c.id, Notify::scroll};
}

Outcome press_list(Dialog& d, Control& c, int px, int py) {
  const int index = list_item_at(c, px, py);
  if (index < 0 || index == c.selection) return quiet(c.id);
  return select_item(d, c.id, index);
}

Outcome press_combo(Dialog& d, Control& c, int px, int py) {
  if (c.dropped_down && combo_drop_rect(c).contains(px, py)) {
    const int index = combo_drop_item_at(c, px, py);
    c.dropped_down = false;
    if (index >= 0 && index < static_cast<int>(c.items.size())) return select_item(d, c.id, index);
    return quiet(c.id);
  }
  c.dropped_down = !c.dropped_down;
  const int count = static_cast<int>(c.items.size());
  if (c.dropped_down) c.top_index = std::max(0, std::min(c.selection, count - kComboDropItems));
  return quiet(c.id);
}

Outcome answer_press(Dialog& d, Control& c, int px, int py) {
  switch (c.kind) {
    case Kind::button: c.pressed = true; return quiet(c.id);
    case Kind::list: d.set_focus(c.id); return press_list(d, c, px, py);
    case Kind::combo: d.set_focus(c.id); return press_combo(d, c, px, py);
    case Kind::edit:
      d.set_focus(c.id);
      c.caret = static_cast<int>(c.text.size());
      return quiet(c.id);
    case Kind::slider: return move_slider(d, c, px);
    default: return quiet(c.id);
  }
}

// A selection one step up or down in a list or combo with items.
Outcome step_selection(Dialog& d, const Control& c, bool down) {
  const int count = static_cast<int>(c.items.size());
  if (count == 0 || !c.enabled) return quiet(c.id);
  const int next = std::clamp(c.selection < 0 ? 0 : c.selection + (down ? 1 : -1), 0, count - 1);
  if (next == c.selection) return quiet(c.id);
  return select_item(d, c.id, next);
}

}  // namespace

Outcome click_control(Dialog& d, int id) {
  Control* c = d.find(id);
  if (!c) return {};
  if (c->kind == Kind::check_box) c->checked = !c->checked;
  if (c->kind == Kind::radio) check_radio_in_group(d, *c);
  return {id, Notify::click};
}

Outcome select_item(Dialog& d, int id, int index) {
  d.set_selection(id, index);
  return {id, Notify::selchange};
}

Outcome press_control(Dialog& d, int id, int px, int py) {
  Control* c = d.find(id);
  if (!c) return {};
  for (Control& other : d.controls())
    if (other.id != id) other.dropped_down = false;
  Outcome out = answer_press(d, *c, px, py);
  out.redraw = true;
  return out;
}

Outcome release_control(Dialog& d, int id, int px, int py) {
  Control* c = d.find(id);
  if (!c) return {};
  const bool inside = c->rect.contains(px, py);
  Outcome out = quiet(id);
  if (c->kind == Kind::button) {
    const bool was_pressed = c->pressed;
    c->pressed = false;
    if (was_pressed && inside) out.notify = Notify::click;
  } else if ((c->kind == Kind::check_box || c->kind == Kind::radio) && inside) {
    out = click_control(d, id);
  }
  out.redraw = true;
  return out;
}

Outcome drag_control(Dialog& d, int id, int px, int /*py*/) {
  Control* c = d.find(id);
  if (c && c->kind == Kind::slider) return move_slider(d, *c, px);
  return {};
}

Outcome key_to_focus(Dialog& d, Key key, char16_t ch) {
  const Control* c = d.find(d.focus());
  // A hidden control takes no keys, even with the focus.
  if (!c || !c->visible) return {};
  const bool arrow = key == Key::up || key == Key::down;
  if (c->kind == Kind::edit || (c->kind == Kind::combo && c->editable && !arrow)) {
    if (key == Key::backspace) d.backspace();
    if (key == Key::character) d.type_char(ch);
    return quiet(c->id);
  }
  if ((c->kind == Kind::list || c->kind == Kind::combo) && arrow) return step_selection(d, *c, key == Key::down);
  return quiet(c->id);
}

bool focus_takes_text(const Dialog& d) {
  const Control* c = d.find(d.focus());
  return c && c->visible && (c->kind == Kind::edit || (c->kind == Kind::combo && c->editable));
}

Outcome wheel_drop_down(Dialog& d, int px, int py, int steps) {
  for (Control& combo : d.controls()) {
    if (combo.kind != Kind::combo || !combo.dropped_down || !combo_drop_rect(combo).contains(px, py)) continue;
    // The drop-down is measured as the list it shows.
    Control list = combo;
    list.rect = combo_drop_rect(combo);
    combo.top_index = std::clamp(combo.top_index - steps * kWheelRows, 0, list_max_top(list));
    return {combo.id, std::nullopt, true};
  }
  return {};
}

Outcome wheel_list(Dialog& d, int px, int py, int steps) {
  Control* c = d.find(control_at(d, px, py));
  if (!c || c->kind != Kind::list) return {};
  c->top_index = std::clamp(c->top_index - steps * kWheelRows, 0, list_max_top(*c));
  return {c->id, std::nullopt, true};
}

bool any_drop_down_open(const Dialog& d) {
  return std::any_of(d.controls().begin(), d.controls().end(), [](const Control& c) { return c.dropped_down; });
}

void close_drop_downs(Dialog& d) {
  for (Control& c : d.controls()) c.dropped_down = false;
}

}  // namespace zeb::platform
