// The dialog model's list, edit and slider semantics that the viewer's
// lists rely on.
#include <gtest/gtest.h>

#include "widgets/dialog.h"

using zeb::platform::Control;
using zeb::platform::Dialog;
using zeb::platform::Kind;

namespace {

Dialog dialog_with(Kind kind, int id = 1, bool numeric = false, bool lower = false) {
  Dialog d;
  Control c;
  c.id = id;
  c.kind = kind;
  c.numeric = numeric;
  c.lower_case = lower;
  d.add(c);
  return d;
}

}  // namespace

TEST(DialogList, insert_at_index_keeps_positions_and_selection) {
  Dialog d = dialog_with(Kind::list);
  EXPECT_EQ(d.insert_item(1, 0, u"b"), 0);
  EXPECT_EQ(d.insert_item(1, 0, u"a"), 0);
  EXPECT_EQ(d.insert_item(1, -1, u"d"), 2);
  d.set_selection(1, 1);  // "b"
  EXPECT_EQ(d.insert_item(1, 2, u"c"), 2);
  EXPECT_EQ(d.selection(1), 1);
  EXPECT_EQ(d.insert_item(1, 0, u"0"), 0);
  EXPECT_EQ(d.selection(1), 2);  // still "b"
  EXPECT_EQ(d.item_text(1, 2), u"b");
  EXPECT_EQ(d.insert_item(1, 9, u"x"), -1);
  EXPECT_EQ(d.item_count(1), 5);
}

TEST(DialogList, delete_and_out_of_range_reads_are_harmless) {
  Dialog d = dialog_with(Kind::list);
  for (auto s : {u"a", u"b", u"c"}) d.insert_item(1, -1, s);
  d.set_selection(1, 2);
  EXPECT_EQ(d.delete_item(1, 0), 2);
  EXPECT_EQ(d.selection(1), 1);
  EXPECT_EQ(d.delete_item(1, 1), 1);
  EXPECT_EQ(d.selection(1), -1);
  EXPECT_EQ(d.delete_item(1, 5), -1);
  EXPECT_EQ(d.item_text(1, 7), u"");
  EXPECT_EQ(d.item_text(99, 0), u"");
  d.set_selection(1, 4);
  EXPECT_EQ(d.selection(1), -1);
}

TEST(DialogList, sorted_add_orders_by_code_units) {
  Dialog d = dialog_with(Kind::combo);
  for (auto s : {u"b.set", u"B.set", u"a.set", u"ab.set"}) d.add_item_sorted(1, s);
  ASSERT_EQ(d.item_count(1), 4);
  EXPECT_EQ(d.item_text(1, 0), u"B.set");
  EXPECT_EQ(d.item_text(1, 1), u"a.set");
  EXPECT_EQ(d.item_text(1, 2), u"ab.set");
  EXPECT_EQ(d.item_text(1, 3), u"b.set");
}

TEST(DialogEdit, numeric_edit_takes_digits_only_and_backspace_edits) {
  Dialog d = dialog_with(Kind::edit, 5, true);
  d.set_focus(5);
  for (char16_t ch : std::u16string(u"1a2-3")) d.type_char(ch);
  EXPECT_EQ(d.text(5), u"123");
  d.backspace();
  EXPECT_EQ(d.text(5), u"12");
}

TEST(DialogEdit, lower_case_edit_lowers_only_ascii_letters) {
  Dialog d = dialog_with(Kind::edit, 5, false, true);
  d.set_text(5, u"PAGE.JPG Ä");
  EXPECT_EQ(d.text(5), u"page.jpg Ä");
}

TEST(DialogSlider, position_stays_in_range) {
  Dialog d = dialog_with(Kind::slider);
  d.set_range(1, 0, 9);
  d.set_pos(1, 12);
  EXPECT_EQ(d.pos(1), 9);
  d.set_pos(1, -3);
  EXPECT_EQ(d.pos(1), 0);
}

TEST(DialogList, selecting_scrolls_the_item_into_view) {
  Dialog d = dialog_with(Kind::list);
  d.move(1, {0, 0, 100, 3 * zeb::platform::kListItemHeight});
  for (int i = 0; i < 10; ++i) d.insert_item(1, -1, u"x");
  d.set_selection(1, 7);
  EXPECT_EQ(d.find(1)->top_index, 5);
  d.set_selection(1, 6);
  EXPECT_EQ(d.find(1)->top_index, 5);
  d.set_selection(1, 2);
  EXPECT_EQ(d.find(1)->top_index, 2);
}
