#pragma once
// The message box and the pop-up menu as they are drawn over the screen
// while they wait for an answer, with the geometry their input uses.
#include <string>
#include <vector>

#include "core/services.h"
#include "widgets/bitmap.h"

namespace zeb::sdl {

struct MessageBoxView {
  std::u16string text, caption;
  int focused = 0;  // 0 = Yes, 1 = No
};

platform::Rect message_box_rect();
// Button 0 is Yes, button 1 is No.
platform::Rect message_box_button(int index);
void draw_message_box(platform::Bitmap& screen, const MessageBoxView& box);

struct MenuView {
  std::vector<platform::MenuItem> items;
  int x = 0, y = 0;      // where the menu was asked for, pixels
  int highlighted = 0;   // item index
  int top = 0;           // first item shown (long menus scroll)
};

platform::Rect menu_rect(const MenuView& menu);
int menu_rows(const MenuView& menu);
// The item under the point, or -1.
int menu_item_at(const MenuView& menu, int px, int py);
// Moves the highlight by `by` items, scrolling it into view.
void move_menu_highlight(MenuView& menu, int by);
void draw_menu(platform::Bitmap& screen, const MenuView& menu);

}  // namespace zeb::sdl
