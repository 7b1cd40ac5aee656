#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "app/controls.h"
#include "app/sort_pages.h"
#include "core/control_ids.h"
#include "sources/sorting.h"

namespace zeb {
namespace {

using Names = std::vector<std::u16string>;

Names reorder(const Names& names, const std::vector<int>& order) {
  Names out;
  for (int i : order) out.push_back(names[i]);
  return out;
}

// The exchange sort the page list has always been sorted with, written out
// literally: the last of the smallest (largest) remaining names is swapped
// into place. Returns the original index at each position.
std::vector<int> literal_selection_sort(const Names& names, bool descending) {
  Names a = names;
  std::vector<int> at(a.size());
  for (size_t i = 0; i < a.size(); ++i) at[i] = static_cast<int>(i);
  for (size_t i = 0; i + 1 < a.size(); ++i) {
    size_t candidate = i;
    for (size_t j = i + 1; j < a.size(); ++j) {
      bool take = descending ? a[j] >= a[candidate] : a[j] <= a[candidate];
      if (take) candidate = j;
    }
    if (candidate != i) {
      std::swap(a[i], a[candidate]);
      std::swap(at[i], at[candidate]);
    }
  }
  return at;
}

TEST(Sorting, names_order_by_code_units_without_case_folding_or_numbers) {
  Names names = {u"p1.jpg", u"P2.jpg", u"p10.jpg", u"p9.jpg"};
  EXPECT_EQ(reorder(names, sorted_order(names, false)), (Names{u"P2.jpg", u"p1.jpg", u"p10.jpg", u"p9.jpg"}));
  EXPECT_EQ(reorder(names, sorted_order(names, true)), (Names{u"p9.jpg", u"p10.jpg", u"p1.jpg", u"P2.jpg"}));

  Names prefixes = {u"a.jpg.jpg", u"a.jpg", u"A.jpg"};
  EXPECT_EQ(reorder(prefixes, sorted_order(prefixes, false)), (Names{u"A.jpg", u"a.jpg", u"a.jpg.jpg"}));

  // Units above 0x7FFF compare as unsigned: Japanese after Latin.
  Names wide = {u"\u30da\u30fc\u30b8.jpg", u"z.jpg", u"\uff21.jpg"};
  EXPECT_EQ(reorder(wide, sorted_order(wide, false)), (Names{u"z.jpg", u"\u30da\u30fc\u30b8.jpg", u"\uff21.jpg"}));
}

TEST(Sorting, matches_the_literal_exchange_sort_including_duplicate_names) {
  std::mt19937 rng(7);
  for (int round = 0; round < 300; ++round) {
    int n = static_cast<int>(rng() % 40);
    int alphabet = 1 + static_cast<int>(rng() % 6);
    Names names;
    for (int i = 0; i < n; ++i) {
      std::u16string name;
      int length = 1 + static_cast<int>(rng() % 3);
      for (int k = 0; k < length; ++k) name += static_cast<char16_t>(u'a' + rng() % alphabet);
      names.push_back(name);
    }
    for (bool descending : {false, true}) {
      ASSERT_EQ(sorted_order(names, descending), literal_selection_sort(names, descending))
          << "round " << round << (descending ? " descending" : " ascending");
    }
  }
}

struct SortingViewer : ::testing::Test {
  platform::Platform p;
  Viewer v{p};
  void SetUp() override { create_controls(v); }
  void fill(int id, const Names& items) {
    v.dialog.clear_items(id);
    for (size_t i = 0; i < items.size(); ++i) v.dialog.insert_item(id, static_cast<int>(i), items[i]);
  }
  Names items(int id) {
    Names out;
    for (int i = 0; i < v.dialog.item_count(id); ++i) out.push_back(v.dialog.item_text(id, i));
    return out;
  }
};

TEST_F(SortingViewer, archive_offsets_follow_their_names_even_between_duplicates) {
  v.state.archive_mode = 1;
  fill(ctl::page_list, {u"b.jpg", u"a.jpg", u"c.jpg", u"a.jpg", u"b.jpg"});
  fill(ctl::archive_offsets, {u"10", u"20", u"30", u"40", u"50"});
  Names before = items(ctl::page_list);
  std::vector<int> order = literal_selection_sort(before, false);
  sort_page_list(v, false);
  EXPECT_EQ(items(ctl::page_list), (Names{u"a.jpg", u"a.jpg", u"b.jpg", u"b.jpg", u"c.jpg"}));
  Names offsets = {u"10", u"20", u"30", u"40", u"50"};
  EXPECT_EQ(items(ctl::archive_offsets), reorder(offsets, order));
}

}  // namespace
}  // namespace zeb
