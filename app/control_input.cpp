#include "app/control_input.h"

#include <algorithm>

#include "app/routing.h"
#include "widgets/draw.h"

namespace zeb {
namespace {

using platform::Control;
using platform::Kind;

void check_radio_in_group(Viewer& v, int id) {
  // The zoom-mode radios form the window's only group of radio buttons.
  for (auto& c : v.dialog.controls())
    if (c.kind == Kind::radio) c.checked = c.id == id;
}

void move_slider(Viewer& v, Control& c, int px) {
  const int pos = platform::slider_pos_at(c, px);
  if (pos == c.pos) return;
  v.dialog.set_pos(c.id, pos);
  notify(v, c.id, Notify::scroll);
}

void press_list(Viewer& v, Control& c, int px, int py) {
  const int index = platform::list_item_at(c, px, py);
  if (index < 0 || index == c.selection) return;
  select_item(v, c.id, index);
}

void press_combo(Viewer& v, Control& c, int px, int py) {
  if (c.dropped_down && platform::combo_drop_rect(c).contains(px, py)) {
    const int index = platform::combo_drop_item_at(c, px, py);
    c.dropped_down = false;
    if (index >= 0 && index < static_cast<int>(c.items.size())) select_item(v, c.id, index);
    return;
  }
  c.dropped_down = !c.dropped_down;
  if (c.dropped_down) c.top_index = std::max(0, std::min(c.selection, static_cast<int>(c.items.size()) - platform::kComboDropItems));
}

}  // namespace

void click_control(Viewer& v, int id) {
  Control* c = v.dialog.find(id);
  if (!c) return;
  if (c->kind == Kind::check_box) c->checked = !c->checked;
  if (c->kind == Kind::radio) check_radio_in_group(v, id);
  notify(v, id, Notify::click);
}

void select_item(Viewer& v, int id, int index) {
  v.dialog.set_selection(id, index);
  notify(v, id, Notify::selchange);
}

void press_control(Viewer& v, int id, int px, int py) {
  Control* c = v.dialog.find(id);
  if (!c) return;
  // Any press elsewhere closes an open drop-down.
  for (auto& other : v.dialog.controls())
    if (other.id != id) other.dropped_down = false;
  switch (c->kind) {
    case Kind::button: c->pressed = true; break;
    case Kind::list: v.dialog.set_focus(id); press_list(v, *c, px, py); break;
    case Kind::combo: v.dialog.set_focus(id); press_combo(v, *c, px, py); break;
    case Kind::edit: v.dialog.set_focus(id); c->caret = static_cast<int>(c->text.size()); break;
    case Kind::slider: move_slider(v, *c, px); break;
    default: break;
  }
  v.repaint();
}

void release_control(Viewer& v, int id, int px, int py) {
  Control* c = v.dialog.find(id);
  if (!c) return;
  const bool inside = c->rect.contains(px, py);
  if (c->kind == Kind::button) {
    const bool was_pressed = c->pressed;
    c->pressed = false;
    if (was_pressed && inside) notify(v, id, Notify::click);
  } else if ((c->kind == Kind::check_box || c->kind == Kind::radio) && inside) {
    click_control(v, id);
  }
  v.repaint();
}

void drag_control(Viewer& v, int id, int px, int /*py*/) {
  Control* c = v.dialog.find(id);
  if (c && c->kind == Kind::slider) move_slider(v, *c, px);
}

}  // namespace zeb
