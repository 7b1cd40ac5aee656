#include "widgets/dialog.h"

#include <algorithm>

#include "host/text.h"

namespace zeb::platform {
namespace {

bool holds_items(const Control* c) { return c && (c->kind == Kind::list || c->kind == Kind::combo); }

bool is_digit(char16_t ch) { return ch >= u'0' && ch <= u'9'; }

}  // namespace

Control& Dialog::add(Control control) {
  controls_.push_back(std::move(control));
  return controls_.back();
}

Control* Dialog::find(int id) {
  for (auto& c : controls_)
    if (c.id == id) return &c;
  return nullptr;
}

const Control* Dialog::find(int id) const {
  for (const auto& c : controls_)
    if (c.id == id) return &c;
  return nullptr;
}

int Dialog::insert_item(int id, int index, const std::u16string& text) {
  Control* c = find(id);
  if (!holds_items(c)) return -1;
  const int count = static_cast<int>(c->items.size());
  if (index == -1) index = count;
  if (index < 0 || index > count) return -1;
  c->items.insert(c->items.begin() + index, text);
  if (c->selection >= index) ++c->selection;
  return index;
}

int Dialog::add_item_sorted(int id, const std::u16string& text) {
  Control* c = find(id);
  if (!holds_items(c)) return -1;
  auto at = std::upper_bound(c->items.begin(), c->items.end(), text);
  return insert_item(id, static_cast<int>(at - c->items.begin()), text);
}

int Dialog::delete_item(int id, int index) { return delete_items(id, index, 1); }

int Dialog::delete_items(int id, int index, int count) {
  Control* c = find(id);
  const int size = holds_items(c) ? static_cast<int>(c->items.size()) : 0;
  if (!holds_items(c) || index < 0 || count < 1 || count > size - index) return -1;
  c->items.erase(c->items.begin() + index, c->items.begin() + index + count);
  if (c->selection >= index + count) c->selection -= count;
  else if (c->selection >= index) c->selection = -1;
  c->top_index = std::min(c->top_index, std::max(0, static_cast<int>(c->items.size()) - 1));
  return static_cast<int>(c->items.size());
}

void Dialog::clear_items(int id) {
  Control* c = find(id);
  if (!holds_items(c)) return;
  c->items.clear();
  c->selection = -1;
  c->top_index = 0;
  ++c->refills;
}

int Dialog::item_count(int id) const {
  const Control* c = find(id);
  return holds_items(c) ? static_cast<int>(c->items.size()) : 0;
}

std::u16string Dialog::item_text(int id, int index) const {
  const Control* c = find(id);
  if (!holds_items(c) || index < 0 || index >= static_cast<int>(c->items.size())) return {};
  return c->items[index];
}

std::vector<std::u16string> Dialog::items(int id) const {
  const Control* c = find(id);
  return holds_items(c) ? c->items : std::vector<std::u16string>{};
}

void Dialog::set_selection(int id, int index) {
  Control* c = find(id);
  if (!holds_items(c)) return;
  c->selection = (index >= 0 && index < static_cast<int>(c->items.size())) ? index : -1;
  if (c->kind == Kind::list && c->selection >= 0) {
    const int rows = list_visible_rows(*c);
    if (c->selection < c->top_index) c->top_index = c->selection;
    if (c->selection >= c->top_index + rows) c->top_index = c->selection - rows + 1;
  }
  // A combo shows its selected item in its text field.
  if (c->kind == Kind::combo && c->selection >= 0) c->text = c->items[c->selection];
}

int Dialog::selection(int id) const {
  const Control* c = find(id);
  return holds_items(c) ? c->selection : -1;
}

void Dialog::swap_items(int id, int a, int b) {
  Control* c = find(id);
  const int count = holds_items(c) ? static_cast<int>(c->items.size()) : 0;
  if (a < 0 || b < 0 || a >= count || b >= count) return;
  std::swap(c->items[a], c->items[b]);
}

void Dialog::set_text(int id, const std::u16string& text) {
  Control* c = find(id);
  if (!c) return;
  c->text = c->lower_case ? text::ascii_lower(text) : text;
  c->caret = static_cast<int>(c->text.size());
}

std::u16string Dialog::text(int id) const {
  const Control* c = find(id);
  return c ? c->text : std::u16string();
}

void Dialog::set_check(int id, bool checked) {
  if (Control* c = find(id)) c->checked = checked;
}

bool Dialog::checked(int id) const {
  const Control* c = find(id);
  return c && c->checked;
}

void Dialog::set_range(int id, int lo, int hi) {
  Control* c = find(id);
  if (!c) return;
  c->range_min = lo;
  c->range_max = hi;
}

void Dialog::set_pos(int id, int pos) {
  Control* c = find(id);
  if (!c) return;
  // A trackbar keeps its position inside its range.
  if (c->kind == Kind::slider) pos = std::max(c->range_min, std::min(pos, std::max(c->range_min, c->range_max)));
  c->pos = pos;
}

int Dialog::pos(int id) const {
  const Control* c = find(id);
  return c ? c->pos : 0;
}

void Dialog::enable(int id, bool enabled) {
  if (Control* c = find(id)) c->enabled = enabled;
}

bool Dialog::enabled(int id) const {
  const Control* c = find(id);
  return c && c->enabled;
}

void Dialog::show(int id, bool visible) {
  if (Control* c = find(id)) {
    c->visible = visible;
    if (!visible) c->dropped_down = false;
  }
}

bool Dialog::visible(int id) const {
  const Control* c = find(id);
  return c && c->visible;
}

void Dialog::move(int id, Rect pixels) {
  if (Control* c = find(id)) c->rect = pixels;
}

void Dialog::set_focus(int id) {
  if (find(id)) focus_ = id;
}

void Dialog::type_char(char16_t ch) {
  Control* c = find(focus_);
  if (!c || !(c->kind == Kind::edit || (c->kind == Kind::combo && c->editable))) return;
  if (c->numeric && !is_digit(ch)) return;
  if (c->lower_case) ch = text::ascii_lower(ch);
  c->caret = std::clamp(c->caret, 0, static_cast<int>(c->text.size()));
  c->text.insert(c->text.begin() + c->caret, ch);
  ++c->caret;
}

void Dialog::backspace() {
  Control* c = find(focus_);
  if (!c || !(c->kind == Kind::edit || (c->kind == Kind::combo && c->editable))) return;
  c->caret = std::clamp(c->caret, 0, static_cast<int>(c->text.size()));
  if (c->caret == 0) return;
  c->text.erase(c->text.begin() + c->caret - 1);
  --c->caret;
}

}  // namespace zeb::platform
