#include "frontend/sdl/modal_view.h"

#include <algorithm>

#include "widgets/font.h"
#include "widgets/shapes.h"

namespace zeb::sdl {
namespace {

using platform::Rect;
namespace shapes = platform::shapes;

constexpr platform::ColorRef kWhite = 0xFFFFFF;
constexpr platform::ColorRef kBlack = 0x000000;
constexpr platform::ColorRef kNavy = 0x964600;    // 0x00BBGGRR
constexpr platform::ColorRef kFace = 0xE0E0E0;
constexpr platform::ColorRef kBorder = 0x505050;
constexpr int kMenuRow = 36;      // pixels per menu item
constexpr int kMenuPad = 12;      // pixels left and right of an item's text
constexpr int kMenuMinWidth = 160;

void centred_text(platform::Bitmap& s, Rect r, std::u16string_view text, platform::ColorRef colour) {
  platform::Font& font = platform::dialog_font();
  const int x = r.x + std::max(4, (r.w - font.text_width(text)) / 2);
  font.draw(s, x, r.y + (r.h - font.line_height()) / 2, text, colour, r);
}

}  // namespace

Rect message_box_rect() { return {40, 220, 400, 200}; }

Rect message_box_button(int index) {
  const Rect box = message_box_rect();
  return {box.x + 50 + index * 170, box.y + box.h - 64, 130, 48};
}

void draw_message_box(platform::Bitmap& screen, const MessageBoxView& box) {
  const Rect r = message_box_rect();
  shapes::fill(screen, {r.x + 6, r.y + 6, r.w, r.h}, kBorder);  // shadow
  shapes::fill(screen, r, kWhite);
  shapes::frame(screen, r, 2, kNavy);
  const Rect title{r.x, r.y, r.w, 40};
  shapes::fill(screen, title, kNavy);
  platform::dialog_font().draw(screen, title.x + 12, title.y + 8, box.caption, kWhite, title);
  centred_text(screen, {r.x + 8, r.y + 56, r.w - 16, 60}, box.text, kBlack);
  const std::u16string labels[2] = {u"はい", u"いいえ"};
  for (int i = 0; i < 2; ++i) {
    const Rect b = message_box_button(i);
    shapes::fill(screen, b, kFace);
    shapes::frame(screen, b, box.focused == i ? 3 : 1, box.focused == i ? kNavy : kBorder);
    centred_text(screen, b, labels[i], kBlack);
  }
}

int menu_rows(const MenuView& menu) {
  return std::min(static_cast<int>(menu.items.size()), (platform::kScreenHeight - 4) / kMenuRow);
}

Rect menu_rect(const MenuView& menu) {
  int width = kMenuMinWidth;
  for (const auto& item : menu.items)
    width = std::max(width, platform::dialog_font().text_width(item.text) + 2 * kMenuPad + 24);
  width = std::min(width, platform::kScreenWidth);
  const int height = menu_rows(menu) * kMenuRow + 4;
  // Opens at the point asked for, moved in so that it stays on the screen.
  const int x = std::clamp(menu.x, 0, platform::kScreenWidth - width);
  const int y = std::clamp(menu.y, 0, platform::kScreenHeight - height);
  return {x, y, width, height};
}

int menu_item_at(const MenuView& menu, int px, int py) {
  const Rect r = menu_rect(menu);
  if (!r.contains(px, py) || py < r.y + 2) return -1;
  const int index = menu.top + (py - r.y - 2) / kMenuRow;
  return index < static_cast<int>(menu.items.size()) ? index : -1;
}

void move_menu_highlight(MenuView& menu, int by) {
  const int count = static_cast<int>(menu.items.size());
  if (count == 0) return;
  menu.highlighted = std::clamp(menu.highlighted + by, 0, count - 1);
  const int rows = menu_rows(menu);
  if (menu.highlighted < menu.top) menu.top = menu.highlighted;
  if (menu.highlighted >= menu.top + rows) menu.top = menu.highlighted - rows + 1;
}

void draw_menu(platform::Bitmap& screen, const MenuView& menu) {
  const Rect r = menu_rect(menu);
  shapes::fill(screen, r, kWhite);
  shapes::frame(screen, r, 2, kBorder);
  platform::Font& font = platform::dialog_font();
  for (int row = 0; row < menu_rows(menu); ++row) {
    const int index = menu.top + row;
    if (index >= static_cast<int>(menu.items.size())) break;
    const Rect item{r.x + 2, r.y + 2 + row * kMenuRow, r.w - 4, kMenuRow};
    const bool lit = index == menu.highlighted;
    if (lit) shapes::fill(screen, item, kNavy);
    const platform::ColorRef ink = lit ? kWhite : kBlack;
    if (menu.items[index].checked)
      shapes::disc(screen, {item.x + 12.0f, item.y + kMenuRow / 2.0f}, 4.0f, ink);
    font.draw(screen, item.x + kMenuPad + 12, item.y + (kMenuRow - font.line_height()) / 2, menu.items[index].text,
              ink, item);
  }
}

}  // namespace zeb::sdl
