// The drawn controls and the fixed pictures.
#include <gtest/gtest.h>

#include "core/services.h"
#include "view/pictures.h"
#include "widgets/draw.h"
#include "widgets/font.h"

namespace zeb::platform {
namespace {

constexpr ColorRef kSentinel = 0x00123456;
constexpr ColorRef kRed = 0x000000FF;
constexpr ColorRef kGreen = 0x0000FF00;

std::unique_ptr<Bitmap> sentinel_screen() {
  auto screen = Bitmap::create(kScreenWidth, kScreenHeight);
  fill_rect(*screen, {0, 0, kScreenWidth, kScreenHeight}, kSentinel);
  return screen;
}

int red(ColorRef c) { return c & 0xFF; }
int green(ColorRef c) { return (c >> 8) & 0xFF; }
int blue(ColorRef c) { return (c >> 16) & 0xFF; }

// Counts the pixels of the rectangle that satisfy the test.
template <typename Test>
int count_pixels(const Bitmap& b, Rect r, Test test) {
  int n = 0;
  for (int y = r.y; y < r.y + r.h; ++y)
    for (int x = r.x; x < r.x + r.w; ++x) n += test(b.pixel(x, y)) ? 1 : 0;
  return n;
}

Control make(Kind kind, Rect rect, std::u16string text = u"") {
  Control c;
  c.id = 5000;
  c.kind = kind;
  c.rect = rect;
  c.text = std::move(text);
  c.visible = true;
  return c;
}

Dialog with(std::initializer_list<Control> controls) {
  Dialog d;
  for (const Control& c : controls) d.add(c);
  return d;
}

TEST(DrawPictures, have_their_sizes_and_unknown_ids_have_none) {
  const struct { int id, w, h; } kSizes[] = {
      {kNumberPadPicture, 112, 148}, {kToolbarPicture, 400, 38}, {kWindowButtonsPicture, 80, 38},
      {kPickerOffPicture, 60, 100},  {kPickerOnPicture, 60, 100}, {kIconPicture, 32, 32}};
  for (const auto& s : kSizes) {
    auto b = load_picture(s.id);
    ASSERT_TRUE(b) << s.id;
    EXPECT_EQ(b->width(), s.w) << s.id;
    EXPECT_EQ(b->height(), s.h) << s.id;
  }
  EXPECT_FALSE(load_picture(133));
}

TEST(DrawPictures, picker_cells_are_one_colour_on_black_and_only_the_first_option_cell_is_empty) {
  for (auto [id, colour] : {std::pair{kPickerOffPicture, kGreen}, std::pair{kPickerOnPicture, kRed}}) {
    auto b = load_picture(id);
    ASSERT_TRUE(b);
    EXPECT_EQ(count_pixels(*b, {0, 0, 60, 100}, [&](ColorRef c) { return c != 0 && c != colour; }), 0);
    for (int row = 0; row < 5; ++row)
      for (int col = 0; col < 3; ++col) {
        const int ink = count_pixels(*b, {20 * col, 20 * row, 20, 20}, [&](ColorRef c) { return c == colour; });
        if (row == 3 && col == 0)
          EXPECT_EQ(ink, 0);
        else
          EXPECT_GT(ink, 20) << id << " cell " << col << "," << row;
      }
  }
}

// Each key of the number pad lies in the cell that a tap on it hits: cells
// 16 x 18 layout units of a pad shown 56 x 73 units large.
TEST(DrawPictures, number_pad_keys_fill_the_tapped_cells) {
  auto b = load_picture(kNumberPadPicture);
  ASSERT_TRUE(b);
  auto dark = [](ColorRef c) { return red(c) < 80 && green(c) < 80 && blue(c) < 80; };
  for (int row = 0; row < 4; ++row)
    for (int col = 0; col < 3; ++col) {
      const int top = row * 18 * 148 / 73, bottom = (row + 1) * 18 * 148 / 73;
      EXPECT_GT(count_pixels(*b, {32 * col + 4, top + 4, 24, bottom - top - 8}, dark), 10) << col << "," << row;
    }
  // "Back" spans the two right cells of the last row: its frame does not
  // divide them.
  const int top = 3 * 18 * 148 / 73;
  EXPECT_EQ(count_pixels(*b, {63, top + 6, 2, 3}, [](ColorRef c) { return c != 0x00FAFAFA; }), 0);
  EXPECT_EQ(count_pixels(*b, {100, 0, 12, 148}, dark), 0);
}

TEST(DrawControls, a_button_draws_inside_its_rectangle_only) {
  const Rect r{100, 200, 120, 40};
  auto screen = sentinel_screen();
  draw_controls(*screen, with({make(Kind::button, r, u"設定")}));
  auto changed = [](ColorRef c) { return c != kSentinel; };
  EXPECT_EQ(count_pixels(*screen, r, changed), r.w * r.h);
  EXPECT_EQ(count_pixels(*screen, {0, 0, kScreenWidth, kScreenHeight}, changed), r.w * r.h);
  // The caption is drawn in the middle of the face.
  EXPECT_GT(count_pixels(*screen, {140, 205, 40, 30}, [](ColorRef c) { return red(c) < 100; }), 10);
}

TEST(DrawControls, hidden_and_zero_sized_controls_draw_nothing) {
  Control hidden = make(Kind::list, {0, 0, 480, 160});
  hidden.visible = false;
  Control zero = make(Kind::check_box, {300, 258, 0, 0}, u"縮小モード");
  auto screen = sentinel_screen();
  draw_controls(*screen, with({hidden, zero}));
  EXPECT_EQ(count_pixels(*screen, {0, 0, kScreenWidth, kScreenHeight}, [](ColorRef c) { return c != kSentinel; }),
            0);
}

TEST(DrawControls, text_colour_is_the_controls_own_and_grey_when_disabled) {
  Control red_radio = make(Kind::radio, {0, 78, 300, 30}, u"横幅を指定");
  red_radio.text_color = kRed;
  Control plain_radio = make(Kind::radio, {0, 48, 300, 30}, u"通常表示");
  Control disabled = make(Kind::button, {0, 300, 240, 40}, u"キー設定");
  disabled.enabled = false;
  auto screen = sentinel_screen();
  draw_controls(*screen, with({red_radio, plain_radio, disabled}));
  auto reddish = [](ColorRef c) { return red(c) > 200 && green(c) < 120 && blue(c) < 120; };
  auto black = [](ColorRef c) { return red(c) < 40 && green(c) < 40 && blue(c) < 40; };
  const Rect red_text{30, 78, 270, 30}, plain_text{30, 48, 270, 30};
  EXPECT_GT(count_pixels(*screen, red_text, reddish), 20);
  EXPECT_EQ(count_pixels(*screen, plain_text, reddish), 0);
  EXPECT_GT(count_pixels(*screen, plain_text, black), 20);
  EXPECT_EQ(count_pixels(*screen, {2, 302, 236, 36}, black), 0);
}

TEST(DrawControls, list_highlights_the_selected_row_that_a_press_there_would_hit) {
  Control list = make(Kind::list, {0, 200, 480, 160});
  for (int i = 0; i < 12; ++i) list.items.push_back(u"page" + std::u16string(1, static_cast<char16_t>(u'a' + i)));
  list.top_index = 3;
  list.selection = 5;
  auto screen = sentinel_screen();
  draw_controls(*screen, with({list}));
  auto navy = [](ColorRef c) { return blue(c) > 120 && red(c) < 40; };
  const int row_y = 200 + (5 - 3) * kListItemHeight;
  EXPECT_GT(count_pixels(*screen, {2, row_y + 1, 300, kListItemHeight - 2}, navy), 300 * 20);
  EXPECT_EQ(count_pixels(*screen, {2, 200, 300, 2 * kListItemHeight}, navy), 0);
  EXPECT_EQ(list_item_at(list, 100, row_y + 5), 5);
  // Twelve items do not fit five rows: the scroll bar takes the right edge.
  const Rect bar = list_scroll_bar(list);
  EXPECT_EQ(bar.x + bar.w, 479);
  EXPECT_EQ(list_item_at(list, bar.x + 2, row_y + 5), -1);
  EXPECT_EQ(list_max_top(list), 12 - 160 / kListItemHeight);
  list.items.resize(3);
  EXPECT_EQ(list_scroll_bar(list).w, 0);
}

TEST(DrawControls, open_drop_down_lies_over_later_controls) {
  Control combo = make(Kind::combo, {0, 0, 400, 38});
  combo.items = {u"通常表示", u"横幅を指定", u"高さを指定"};
  combo.selection = 1;
  combo.dropped_down = true;
  Control later = make(Kind::button, {0, 40, 400, 40}, u"Save");
  later.id = 5001;
  auto screen = sentinel_screen();
  draw_controls(*screen, with({combo, later}));
  const Rect drop = combo_drop_rect(combo);
  EXPECT_EQ(drop.y, 38);
  EXPECT_EQ(drop.h, 3 * kListItemHeight);
  EXPECT_EQ(combo_drop_item_at(combo, 50, drop.y + kListItemHeight + 3), 1);
  // The selected item's highlight covers the button below the box.
  EXPECT_GT(count_pixels(*screen, {10, drop.y + kListItemHeight + 2, 300, 10},
                         [](ColorRef c) { return blue(c) > 120 && red(c) < 40; }),
            2000);
}

TEST(DrawControls, slider_thumb_follows_the_position_a_press_there_gives) {
  Control slider = make(Kind::slider, {0, 600, 480, 40});
  slider.range_min = 0;
  slider.range_max = 9;
  for (int pos : {0, 4, 9}) {
    slider.pos = pos;
    const Rect thumb = slider_thumb(slider);
    EXPECT_GE(thumb.x, 0);
    EXPECT_LE(thumb.x + thumb.w, 480);
    EXPECT_EQ(slider_pos_at(slider, thumb.x + thumb.w / 2), pos) << pos;
  }
  slider.range_max = 0;  // an empty page list
  EXPECT_EQ(slider_thumb(slider).x, 0);
  EXPECT_EQ(slider_pos_at(slider, 300), 0);
}

TEST(DrawControls, focused_edit_shows_a_caret_where_presses_put_it) {
  Control edit = make(Kind::edit, {0, 0, 200, 36}, u"240");
  edit.caret = 3;
  auto count_caret = [&](bool focused) {
    Dialog d = with({edit});
    if (focused) d.set_focus(edit.id);
    auto screen = sentinel_screen();
    draw_controls(*screen, d);
    const int x = 4 + dialog_font().prefix_width(u"240", 3);
    return count_pixels(*screen, {x, 8, 2, 20}, [](ColorRef c) { return c == 0; });
  };
  EXPECT_GT(count_caret(true), 30);
  EXPECT_EQ(count_caret(false), 0);
  EXPECT_EQ(edit_caret_at(edit, 0, true), 0);
  EXPECT_EQ(edit_caret_at(edit, 199, true), 3);
}

TEST(DrawFont, missing_font_draws_boxes_and_surrogates_decode) {
  Font boxes("", 20);
  EXPECT_FALSE(boxes.has_face());
  auto screen = sentinel_screen();
  boxes.draw(*screen, 10, 10, u"設定", 0, {0, 0, 100, 50});
  EXPECT_GT(count_pixels(*screen, {0, 0, 100, 50}, [](ColorRef c) { return c == 0; }), 40);
  EXPECT_EQ(boxes.text_width(u"設定"), 2 * boxes.text_width(u"設"));
  EXPECT_EQ(code_points(u"a\U0001F600\xD800"), (std::u32string{U'a', U'\U0001F600', 0xFFFD}));
  EXPECT_EQ(boxes.prefix_width(u"ab", 9), boxes.text_width(u"ab"));
}

}  // namespace
}  // namespace zeb::platform
