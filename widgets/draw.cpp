// The controls in a plain style for a 480 x 640 touch screen: black text on
// white fields, grey buttons, a navy selection, grey text when disabled.
#include "widgets/draw.h"

#include <algorithm>

#include "widgets/font.h"
#include "widgets/shapes.h"

namespace zeb::platform {
namespace {

constexpr ColorRef kWhite = rgb(255, 255, 255);
constexpr ColorRef kText = rgb(0, 0, 0);
constexpr ColorRef kGreyText = rgb(140, 140, 140);
constexpr ColorRef kBorder = rgb(80, 80, 80);
constexpr ColorRef kFace = rgb(224, 224, 224);
constexpr ColorRef kPressedFace = rgb(150, 150, 150);
constexpr ColorRef kDisabledField = rgb(236, 236, 236);
constexpr ColorRef kSelection = rgb(0, 70, 150);
constexpr ColorRef kTrack = rgb(200, 200, 200);
constexpr ColorRef kThumb = rgb(120, 120, 120);
constexpr int kPad = 4;  // pixels between a frame and its text

Rect inset(Rect r, int by) { return {r.x + by, r.y + by, r.w - 2 * by, r.h - 2 * by}; }

ColorRef text_colour(const Control& c) {
  if (!c.enabled) return kGreyText;
  return c.text_color >= 0 ? static_cast<ColorRef>(c.text_color) : kText;
}

int text_top(const Rect& r) { return r.y + (r.h - dialog_font().line_height()) / 2; }

void draw_text_left(Bitmap& s, Rect r, std::u16string_view text, ColorRef colour) {
  dialog_font().draw(s, r.x, text_top(r), text, colour, r);
}

void draw_text_centred(Bitmap& s, Rect r, std::u16string_view text, ColorRef colour) {
  const int width = dialog_font().text_width(text);
  dialog_font().draw(s, r.x + std::max(0, (r.w - width) / 2), text_top(r), text, colour, r);
}

// A combo's open list behaves as a list box placed below (or above) it.
Control drop_list(const Control& combo) {
  Control list = combo;
  list.kind = Kind::list;
  list.rect = combo_drop_rect(combo);
  return list;
}

// --- lists -----------------------------------------------------------------

void draw_scroll_bar(Bitmap& s, const Control& list) {
  const Rect bar = list_scroll_bar(list);
  if (bar.w <= 0) return;
  shapes::fill(s, bar, kTrack);
  const int count = static_cast<int>(list.items.size());
  const int rows = list_visible_rows(list);
  const int thumb_h = std::max(16, bar.h * rows / count);
  const int max_top = list_max_top(list);
  const int top = std::clamp(list.top_index, 0, max_top);
  const int y = bar.y + (max_top > 0 ? (bar.h - thumb_h) * top / max_top : 0);
  shapes::fill(s, {bar.x + 2, y, bar.w - 4, thumb_h}, list.enabled ? kThumb : kTrack);
}

void draw_list(Bitmap& s, const Control& c) {
  shapes::fill(s, c.rect, c.enabled ? kWhite : kDisabledField);
  shapes::frame(s, c.rect, 1, kBorder);
  const Rect bar = list_scroll_bar(c);
  // Rows start at the top edge (the frame overlaps the first row's top
  // pixel), the way presses are mapped to items.
  const Rect area{c.rect.x + 1, c.rect.y, c.rect.w - 2 - bar.w, c.rect.h - 1};
  const int count = static_cast<int>(c.items.size());
  const int top = std::clamp(c.top_index, 0, list_max_top(c));
  for (int i = top, row = 0; i < count && row <= list_visible_rows(c); ++i, ++row) {
    const Rect item{area.x, area.y + row * kListItemHeight, area.w, kListItemHeight};
    const Rect visible{item.x, item.y, item.w, std::min(item.h, area.y + area.h - item.y)};
    if (visible.h <= 0) break;
    const bool selected = i == c.selection;
    if (selected) shapes::fill(s, visible, c.enabled ? kSelection : kGreyText);
    const Rect text{item.x + kPad, item.y, item.w - 2 * kPad, item.h};
    dialog_font().draw(s, text.x, text_top(text), c.items[i], selected ? kWhite : text_colour(c), visible);
  }
  draw_scroll_bar(s, c);
}

// --- edits and combos -----------------------------------------------------

// Pixels the edit's text is shifted left so that the caret stays in view.
int edit_shift(const Control& c, int inner_width) {
  const int caret_x = dialog_font().prefix_width(c.text, c.caret);
  return std::max(0, caret_x - inner_width + 2);
}

void draw_edit(Bitmap& s, const Control& c, bool focused) {
  shapes::fill(s, c.rect, c.enabled ? kWhite : kDisabledField);
  shapes::frame(s, c.rect, 1, kBorder);
  if (c.rect.w < 4 || c.rect.h < 4) return;
  const Rect inner = inset(c.rect, kPad / 2);
  const Rect text{c.rect.x + kPad, inner.y, c.rect.w - 2 * kPad, inner.h};
  const int shift = focused ? edit_shift(c, text.w) : 0;
  dialog_font().draw(s, text.x - shift, text_top(text), c.text, text_colour(c), inner);
  if (focused && c.enabled) {
    const int x = text.x - shift + dialog_font().prefix_width(c.text, c.caret);
    const int h = std::min(dialog_font().line_height(), inner.h);
    shapes::fill(s, {x, c.rect.y + (c.rect.h - h) / 2, 2, h}, kText);
  }
}

void draw_combo(Bitmap& s, const Control& c, bool focused) {
  const Rect button = combo_button(c);
  Control field = c;
  field.rect.w -= button.w - 1;
  if (!c.editable) field.caret = 0;
  if (c.text.empty() && c.selection >= 0 && c.selection < static_cast<int>(c.items.size()))
    field.text = c.items[c.selection];
  draw_edit(s, field, focused && c.editable);
  shapes::fill(s, button, c.dropped_down ? kPressedFace : kFace);
  shapes::frame(s, button, 1, kBorder);
  const float cx = button.x + button.w / 2.0f, cy = button.y + button.h / 2.0f;
  shapes::polygon(s, {{cx - 7, cy - 3}, {cx + 7, cy - 3}, {cx, cy + 5}}, c.enabled ? kText : kGreyText);
}

void draw_drop_down(Bitmap& s, const Control& combo) {
  Control list = drop_list(combo);
  list.top_index = std::clamp(combo.top_index, 0, list_max_top(list));
  draw_list(s, list);
  shapes::frame(s, list.rect, 2, kBorder);
}

// --- buttons, check boxes, radios, statics ---------------------------------

void draw_button(Bitmap& s, const Control& c) {
  const bool pressed = c.pressed && c.enabled;
  shapes::fill(s, c.rect, pressed ? kPressedFace : kFace);
  shapes::frame(s, c.rect, 1, kBorder);
  if (!pressed && c.rect.w > 4 && c.rect.h > 4) {
    // A light upper-left and dark lower-right edge make the button stand out.
    shapes::fill(s, {c.rect.x + 1, c.rect.y + 1, c.rect.w - 2, 1}, kWhite);
    shapes::fill(s, {c.rect.x + 1, c.rect.y + 1, 1, c.rect.h - 2}, kWhite);
    shapes::fill(s, {c.rect.x + 1, c.rect.y + c.rect.h - 2, c.rect.w - 2, 1}, kThumb);
  }
  Rect text = inset(c.rect, 2);
  if (pressed) text = {text.x + 1, text.y + 1, text.w - 1, text.h - 1};
  draw_text_centred(s, text, c.text, text_colour(c));
}

void draw_mark_and_text(Bitmap& s, const Control& c) {
  shapes::fill(s, c.rect, kWhite);
  const int side = std::min(16, c.rect.h - 2);
  if (side <= 0) return;
  const Rect box{c.rect.x + 2, c.rect.y + (c.rect.h - side) / 2, side, side};
  const ColorRef ink = c.enabled ? kText : kGreyText;
  const float cx = box.x + side / 2.0f, cy = box.y + side / 2.0f;
  if (c.kind == Kind::radio) {
    shapes::disc(s, {cx, cy}, side / 2.0f, ink);
    shapes::disc(s, {cx, cy}, side / 2.0f - 1.5f, kWhite);
    if (c.checked) shapes::disc(s, {cx, cy}, side / 4.0f, ink);
  } else {
    shapes::fill(s, box, kWhite);
    shapes::frame(s, box, 1, ink);
    if (c.checked) {
      shapes::line(s, {box.x + 3.0f, cy}, {cx - 1, box.y + side - 4.0f}, 2.5f, ink);
      shapes::line(s, {cx - 1, box.y + side - 4.0f}, {box.x + side - 3.0f, box.y + 3.0f}, 2.5f, ink);
    }
  }
  const int text_x = box.x + side + 6;
  draw_text_left(s, {text_x, c.rect.y, c.rect.x + c.rect.w - text_x, c.rect.h}, c.text, text_colour(c));
}

void draw_static(Bitmap& s, const Control& c) {
  shapes::fill(s, c.rect, kWhite);
  draw_text_left(s, c.rect, c.text, text_colour(c));
}

void draw_slider(Bitmap& s, const Control& c) {
  shapes::fill(s, c.rect, kWhite);
  const int mid = c.rect.y + c.rect.h / 2;
  const Rect groove{c.rect.x + kSliderThumbWidth / 2, mid - 3, c.rect.w - kSliderThumbWidth, 6};
  shapes::fill(s, groove, kTrack);
  shapes::frame(s, groove, 1, kThumb);
  const Rect thumb = slider_thumb(c);
  shapes::fill(s, thumb, c.enabled ? (c.pressed ? kPressedFace : kFace) : kDisabledField);
  shapes::frame(s, thumb, 1, c.enabled ? kBorder : kGreyText);
}

// --- pictures -----------------------------------------------------------------

void draw_picture(Bitmap& s, const Control& c) {
  const Bitmap* picture = c.picture.get();
  if (!picture) return;
  stretch_copy(s, c.rect.x, c.rect.y, c.rect.w, c.rect.h, *picture, 0, 0, picture->width(), picture->height());
}

void draw_control(Bitmap& s, const Control& c, bool focused) {
  switch (c.kind) {
    case Kind::list: return draw_list(s, c);
    case Kind::edit: return draw_edit(s, c, focused);
    case Kind::combo: return draw_combo(s, c, focused);
    case Kind::button: return draw_button(s, c);
    case Kind::check_box:
    case Kind::radio: return draw_mark_and_text(s, c);
    case Kind::static_text: return draw_static(s, c);
    case Kind::slider: return draw_slider(s, c);
    case Kind::picture: return draw_picture(s, c);
  }
}

// Pictures and static texts let a press through to the window beneath.
bool takes_stylus(const platform::Control& c) {
  if (!c.visible || !c.enabled || c.rect.w <= 0 || c.rect.h <= 0) return false;
  return c.kind != Kind::picture && c.kind != Kind::static_text;
}

}  // namespace

void draw_controls(Bitmap& screen, const Dialog& dialog) {
  for (const Control& c : dialog.controls())
    if (c.visible && c.rect.w > 1 && c.rect.h > 1) draw_control(screen, c, dialog.focus() == c.id);
  // An open drop-down lies over every other control.
  for (const Control& c : dialog.controls())
    if (c.visible && c.kind == Kind::combo && c.dropped_down && !c.items.empty()) draw_drop_down(screen, c);
}

int list_max_top(const Control& list) {
  return std::max(0, static_cast<int>(list.items.size()) - list_visible_rows(list));
}

Rect list_scroll_bar(const Control& list) {
  if (list_max_top(list) == 0) return {list.rect.x + list.rect.w - 1, list.rect.y + 1, 0, 0};
  return {list.rect.x + list.rect.w - 1 - kScrollBarWidth, list.rect.y + 1, kScrollBarWidth, list.rect.h - 2};
}

int list_item_at(const Control& list, int px, int py) {
  const Rect bar = list_scroll_bar(list);
  const Rect area{list.rect.x, list.rect.y, list.rect.w - bar.w, list.rect.h};
  if (!area.contains(px, py)) return -1;
  const int index = std::clamp(list.top_index, 0, list_max_top(list)) + (py - area.y) / kListItemHeight;
  return index < static_cast<int>(list.items.size()) ? index : -1;
}

Rect combo_button(const Control& combo) {
  const int side = std::min(combo.rect.h, combo.rect.w / 2);
  return {combo.rect.x + combo.rect.w - side, combo.rect.y, side, combo.rect.h};
}

Rect combo_drop_rect(const Control& combo) {
  const int shown = std::min(kComboDropItems, static_cast<int>(combo.items.size()));
  return {combo.rect.x, combo.rect.y + combo.rect.h, combo.rect.w, shown * kListItemHeight};
}

int combo_drop_item_at(const Control& combo, int px, int py) {
  Control list = drop_list(combo);
  return list_item_at(list, px, py);
}

// The thumb is centred on the point that stands for its position, the
// slider's whole width spanning the range.
Rect slider_thumb(const Control& slider) {
  const Rect& r = slider.rect;
  const int range = slider.range_max - slider.range_min;
  const int offset = range > 0 ? static_cast<int>(static_cast<long long>(std::max(0, r.w - 1)) *
                                                  std::clamp(slider.pos - slider.range_min, 0, range) / range)
                               : 0;
  const int left = std::clamp(r.x + offset - kSliderThumbWidth / 2, r.x, r.x + std::max(0, r.w - kSliderThumbWidth));
  return {left, r.y + 2, std::min(kSliderThumbWidth, r.w), r.h - 4};
}

int slider_pos_at(const Control& slider, int px) {
  const int range = std::max(0, slider.range_max - slider.range_min);
  const int width = std::max(1, slider.rect.w - 1);
  const int offset = std::clamp(px - slider.rect.x, 0, width);
  return slider.range_min + static_cast<int>((static_cast<long long>(offset) * range + width / 2) / width);
}

int edit_caret_at(const Control& edit, int px, bool focused) {
  const int inner_width = edit.rect.w - 2 * kPad;
  const int x = px - (edit.rect.x + kPad) + (focused ? edit_shift(edit, inner_width) : 0);
  const int count = static_cast<int>(edit.text.size());
  int best = 0, best_distance = std::abs(x);
  for (int i = 1; i <= count; ++i) {
    const int distance = std::abs(dialog_font().prefix_width(edit.text, i) - x);
    if (distance < best_distance) best = i, best_distance = distance;
  }
  return best;
}

int control_at(const Dialog& dialog, int px, int py) {
  const auto& controls = dialog.controls();
  for (const auto& c : controls)
    if (c.dropped_down && c.visible && combo_drop_rect(c).contains(px, py)) return c.id;
  // Controls drawn later lie on top of earlier ones.
  for (auto it = controls.rbegin(); it != controls.rend(); ++it)
    if (takes_stylus(*it) && it->rect.contains(px, py)) return it->id;
  return 0;
}

}  // namespace zeb::platform
