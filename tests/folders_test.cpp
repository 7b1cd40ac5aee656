#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/browser_handlers.h"
#include "app/controls.h"
#include "app/gesture_stylus.h"
#include "app/menus.h"
#include "app/open_location.h"
#include "app/siblings.h"
#include "core/control_ids.h"
#include "host/text.h"
#include "sources/archive.h"
#include "sources/names.h"
#include "tests/harness.h"
#include "tests/reader.h"
#include "tests/test_host.h"
#include "tools/fixtures/fixtures.h"

namespace zeb {
namespace {

using Names = std::vector<std::u16string>;

fixtures::ZipEntry stored(std::string name, std::string data) {
  fixtures::ZipEntry e;
  e.name = std::move(name);
  e.data = std::move(data);
  return e;
}

class Browsing : public ::testing::Test {
 protected:
  fixtures::TempDir root;
  platform::Platform p;
  zeb::testing::TestHost host;
  Viewer v{p};

  void SetUp() override {
    p.storage = platform::Storage(root.path());
    p.host = &host;
    create_controls(v);
    v.state.panel_mode = 1;  // the browser: page loads leave the history alone
  }
  void make_parent(const std::string& path) {
    if (path.find('/') != std::string::npos) fixtures::make_dirs(root / path.substr(0, path.rfind('/')));
  }
  void page(const std::string& path, int width = 24) {
    make_parent(path);
    fixtures::write_jpeg(root / path, width, 16);
  }
  void file(const std::string& path, const std::string& bytes = "x") {
    make_parent(path);
    fixtures::write_file(root / path, bytes);
  }
  Names items(int id) const {
    Names out;
    for (int i = 0; i < v.dialog.item_count(id); ++i) out.push_back(v.dialog.item_text(id, i));
    return out;
  }
  void open(const std::u16string& location) {
    v.state.LastDir = location;
    v.dialog.set_text(ctl::path_box, location);
    open_location(v);
  }
  // A tap on a folder-list entry.
  void choose(const std::u16string& name) {
    Names entries = items(ctl::folder_list);
    auto it = std::find(entries.begin(), entries.end(), name);
    ASSERT_NE(it, entries.end());
    v.dialog.set_selection(ctl::folder_list, static_cast<int>(it - entries.begin()));
    on_folder_list_selchange(v);
  }
  // Names of a folder as the directory search returns them, kept when wanted.
  template <typename Keep>
  Names search_order(const std::u16string& pattern, Keep keep) const {
    Names out;
    for (const auto& e : p.storage.find(pattern))
      if (keep(e)) out.push_back(e.name);
    return out;
  }
};

TEST(NameRules, page_and_archive_names_and_location_paths) {
  for (auto name : {u".jpg", u"\u8868.jPeG"}) EXPECT_TRUE(is_page_name(name));
  for (auto name : {u"jpg", u"x.jpg.txt", u""}) EXPECT_FALSE(is_page_name(name));

  EXPECT_EQ(child_path(u"", u"Card"), u"\\Card");
  EXPECT_EQ(child_path(u"\\", u"Card"), u"\\Card");
  EXPECT_EQ(child_path(u"\\Card", u"book.zip"), u"\\Card\\book.zip");
  EXPECT_EQ(parent_path(u"\\Card\\book.zip"), u"\\Card");
  EXPECT_EQ(parent_path(u"\\Card"), u"");
  EXPECT_EQ(parent_path(u"\\"), u"");
  EXPECT_EQ(parent_path(u""), u"");
}

TEST_F(Browsing, folder_lists_pages_subfolders_and_archives_in_search_order) {
  for (auto name : {"A.JPG", "b.Jpeg"}) page(std::string("lib/") + name);
  for (auto name : {"c.jpe", "d.zip", "E.ZIP"}) file(std::string("lib/") + name);
  fixtures::make_dirs(root / "lib/x");
  open(u"\\lib");

  Names folders = {u"<..>"};
  for (const auto& n : search_order(u"\\lib\\*.*", [](const auto& e) { return e.directory || is_archive_name(e.name); }))
    folders.push_back(n);
  EXPECT_EQ(folders.size(), 4u);
  EXPECT_EQ(items(ctl::folder_list), folders);
  EXPECT_EQ(items(ctl::page_list), search_order(u"\\lib\\*.*", [](const auto& e) { return is_page_name(e.name); }));
  EXPECT_EQ(items(ctl::page_list).size(), 2u);
  EXPECT_TRUE(items(ctl::archive_offsets).empty());
  EXPECT_EQ(v.state.archive_mode, 0);
  EXPECT_EQ(v.state.folder_scan, 0);
  EXPECT_EQ(v.state.wrap_pause_ticks, 0);
  const auto* slider = v.dialog.find(ctl::page_slider);
  EXPECT_EQ(slider->range_min, 0);
  EXPECT_EQ(slider->range_max, 1);
}

TEST_F(Browsing, empty_or_missing_locations_list_only_the_way_up) {
  fixtures::make_dirs(root / "empty");
  page("book/p1.jpg");
  for (auto location : {u"\\empty", u"\\missing"}) {
    open(u"\\book");
    ASSERT_TRUE(v.window.page_bitmap);
    open(location);
    EXPECT_EQ(items(ctl::folder_list), (Names{u"<..>"}));
    EXPECT_TRUE(items(ctl::page_list).empty());
    EXPECT_EQ(v.dialog.find(ctl::page_slider)->range_max, -1);
    EXPECT_EQ(v.state.page_index, 0);
    // Nothing of the book before is left on show.
    EXPECT_FALSE(v.window.page_bitmap);
    EXPECT_EQ(v.dialog.text(ctl::status_line), u"   0/   0[]");
  }
  choose(u"<..>");
  EXPECT_EQ(v.state.LastDir, u"");
}

TEST_F(Browsing, folder_list_moves_between_root_child_archive_and_parent) {
  page("Card/p.jpg");
  fixtures::write_file(root / "Card/book.zip", fixtures::zip_bytes({stored("in.jpg", fixtures::jpeg_bytes(24, 16))}));
  open(u"\\");
  choose(u"Card");
  EXPECT_EQ(v.state.LastDir, u"\\Card");
  EXPECT_EQ(v.dialog.text(ctl::path_box), u"\\Card");
  EXPECT_EQ(items(ctl::page_list), (Names{u"p.jpg"}));

  choose(u"book.zip");
  EXPECT_EQ(v.state.LastDir, u"\\Card\\book.zip");
  EXPECT_EQ(v.state.archive_mode, 1);
  EXPECT_EQ(items(ctl::folder_list), (Names{u"<..>"}));
  EXPECT_EQ(items(ctl::page_list), (Names{u"in.jpg"}));
  EXPECT_EQ(items(ctl::archive_offsets), (Names{u"36"}));

  choose(u"<..>");
  EXPECT_EQ(v.state.LastDir, u"\\Card");
  EXPECT_EQ(v.state.archive_mode, 0);
  choose(u"<..>");
  EXPECT_EQ(v.state.LastDir, u"");
  choose(u"<..>");
  EXPECT_EQ(v.state.LastDir, u"");
  EXPECT_EQ(items(ctl::folder_list), (Names{u"<..>", u"Card"}));

  // A double tap only moves and lists.
  v.dialog.set_selection(ctl::folder_list, 1);
  on_folder_list_dblclk(v);
  EXPECT_EQ(v.state.LastDir, u"\\Card");
  EXPECT_EQ(v.dialog.text(ctl::path_box), u"\\Card");
}

TEST_F(Browsing, history_pair_moves_to_the_front_and_resumes_its_page) {
  for (auto name : {"a.jpg", "b.jpg", "c.jpg", "d.jpg", "e.jpg"}) page(std::string("book/") + name);
  Names pages = search_order(u"\\book\\*.jpg", [](const auto&) { return true; });
  for (int k = 0; k < 5; ++k) {
    std::u16string location = k == 4 ? u"\\book" : u"\\other" + text::from_int(k);
    v.dialog.insert_item(ctl::folder_history, 2 * k, location);
    v.dialog.insert_item(ctl::folder_history, 2 * k + 1, k == 4 ? pages[3] : u"x.jpg");
  }
  open(u"\\book");
  EXPECT_EQ(v.state.page_index, 3);
  EXPECT_EQ(v.state.LastFName, pages[3]);
  Names history = items(ctl::folder_history);
  ASSERT_EQ(history.size(), 10u);
  EXPECT_EQ(history[0], u"\\book");
  EXPECT_EQ(history[1], pages[3]);
  EXPECT_EQ(history[2], u"\\other0");

  // With random order the resume step lands on the generator's page.
  v.state.random_page = 1;
  p.random.source = [] { return 9; };
  open(u"\\book");
  EXPECT_EQ(v.state.page_index, 9 % 5);

  // A remembered page that is gone starts at the first page.
  v.state.random_page = 0;
  v.dialog.delete_item(ctl::folder_history, 1);
  v.dialog.insert_item(ctl::folder_history, 1, u"gone.jpg");
  open(u"\\book");
  EXPECT_EQ(v.state.page_index, 0);
  EXPECT_EQ(v.state.resume_index, 0);
}

TEST_F(Browsing, history_beyond_MAX_BLOG_pairs_is_trimmed_from_the_end) {
  for (int pairs : {52, 60}) {
    v.dialog.clear_items(ctl::folder_history);
    for (int k = 0; k < pairs; ++k) {
      v.dialog.insert_item(ctl::folder_history, 2 * k, u"\\f" + text::from_int(k));
      v.dialog.insert_item(ctl::folder_history, 2 * k + 1, u"p.jpg");
    }
    open(u"\\elsewhere");
    Names history = items(ctl::folder_history);
    ASSERT_EQ(history.size(), 100u) << pairs;
    EXPECT_EQ(history[98], u"\\f49");
  }
}

TEST_F(Browsing, locations_longer_than_the_path_buffer_are_neither_listed_nor_entered) {
  const std::string deep(200, 'a');
  fixtures::make_dirs(root / (deep + "/" + std::string(60, 'b')));  // 262 units
  fixtures::make_dirs(root / (deep + "/" + std::string(50, 'c')));  // 252 units
  page(deep + "/" + std::string(57, 'p') + ".jpg");                 // 263 units
  page(deep + "/" + std::string(40, 'q') + ".jpg");
  std::u16string location = u"\\" + std::u16string(200, u'a');
  open(location);
  EXPECT_EQ(items(ctl::folder_list), (Names{u"<..>", std::u16string(50, u'c')}));
  EXPECT_EQ(items(ctl::page_list), (Names{std::u16string(40, u'q') + u".jpg"}));

  v.dialog.insert_item(ctl::folder_list, 2, std::u16string(60, u'b'));
  v.dialog.set_selection(ctl::folder_list, 2);
  on_folder_list_selchange(v);
  EXPECT_EQ(v.state.LastDir, location);
}

TEST_F(Browsing, archive_location_lists_entries_offsets_and_resumes) {
  std::vector<fixtures::ZipEntry> entries = {stored("p3.jpg", fixtures::jpeg_bytes(40, 16)),
                                             stored("p1.JPG", fixtures::jpeg_bytes(56, 16)),
                                             stored("p2.jpeg", fixtures::jpeg_bytes(72, 16))};
  fixtures::write_file(root / "book.zip", fixtures::zip_bytes(entries));
  v.dialog.insert_item(ctl::folder_history, 0, u"\\book.zip");
  v.dialog.insert_item(ctl::folder_history, 1, u"p2.jpeg");
  open(u"\\book.zip");
  // Listed in natural order, each offset with its page.
  EXPECT_EQ(items(ctl::page_list), (Names{u"p1.JPG", u"p2.jpeg", u"p3.jpg"}));
  long long first = 30 + 6, second = first + entries[0].data.size() + 30 + 6;
  long long third = second + entries[1].data.size() + 30 + 7;
  EXPECT_EQ(items(ctl::archive_offsets), (Names{text::from_int(second), text::from_int(third), text::from_int(first)}));
  EXPECT_EQ(v.state.page_index, 1);

  // Opening the page reads the entry at its offset.
  v.dialog.set_selection(ctl::page_list, 2);
  on_page_list_dblclk(v);
  EXPECT_EQ(v.window.page_width, 40);
}

// Clicks in the window on the browser's lists, each with the count the
// platform gives a press (2 for the second of a double-click): the second
// click of a double-click whose first click opened a folder chooses
// nothing, a third click is a new choice, the page list's double-click
// still opens the page.
TEST(WindowClicks, double_click_on_a_folder_list_row_opens_one_folder) {
  fixtures::TempDir root;
  for (const char* book : {"Series/Vol 1", "Series/Vol 2"}) {
    fixtures::make_dirs(root / book);
    fixtures::write_jpeg(root / book + "/1.jpg", 24, 16);
  }
  Reader reader(root.path(), root.path(), false);
  Viewer& v = reader.viewer();
  GestureStylus stylus;
  constexpr int kUpRow = 54, kSecondRow = 82, kFirstPage = 216;  // pixels: folder list rows 0, 1; page list row 0
  struct Click {
    int y, clicks;
    std::u16string location;  // where the viewer is after the click
    int viewing;
  };
  const std::vector<Click> clicks = {
      {kSecondRow, 1, u"\\Series", 0},
      {kSecondRow, 2, u"\\Series", 0},
      {kSecondRow, 3, u"\\Series\\Vol 1", 0},
      {kUpRow, 1, u"\\Series", 0},
      {kUpRow, 2, u"\\Series", 0},
      {kSecondRow, 1, u"\\Series\\Vol 1", 0},
      {kFirstPage, 1, u"\\Series\\Vol 1", 0},
      {kFirstPage, 2, u"\\Series\\Vol 1", 1},
  };
  for (size_t i = 0; i < clicks.size(); ++i) {
    stylus.down(v, 100, clicks[i].y, clicks[i].clicks);
    stylus.up(v, 100, clicks[i].y);
    EXPECT_EQ(text::to_utf8(v.state.LastDir), text::to_utf8(clicks[i].location)) << "click " << i;
    EXPECT_EQ(v.state.viewing, clicks[i].viewing) << "click " << i;
  }
}

class Siblings : public Browsing {
 protected:
  void SetUp() override {
    Browsing::SetUp();
    page("C/1.jpg");
    page("a/1.jpeg");
    page("B/x.JPG");
    page("D/inner/1.jpg");  // pages only one level down
    fixtures::make_dirs(root / "E");
    file("e.zip");
    file("notes.txt");
    v.dialog.set_text(ctl::path_box, u"\\a");
    build_sibling_list(v);
  }
};

TEST_F(Siblings, list_holds_folders_with_pages_and_archives_in_name_order) {
  EXPECT_EQ(items(ctl::sibling_list), (Names{u"\\B", u"\\C", u"\\a", u"\\e.zip"}));
  EXPECT_TRUE(folder_has_pages(v.platform.storage, u"\\a", u"jpeg"));
  EXPECT_FALSE(folder_has_pages(v.platform.storage, u"\\a", u"jpg"));
  EXPECT_FALSE(folder_has_pages(v.platform.storage, u"\\D", u"jpg"));
}

TEST_F(Siblings, folder_menu_checks_the_current_location_and_opens_the_choice) {
  show_folder_menu(v);
  ASSERT_EQ(host.menu.size(), 5u);
  EXPECT_EQ(host.menu[0].text, u"FolderChange");
  EXPECT_EQ(host.menu[0].id, 0);
  Names texts;
  for (size_t i = 1; i < host.menu.size(); ++i) {
    EXPECT_EQ(host.menu[i].id, 8200 + static_cast<int>(i) - 1);
    EXPECT_EQ(host.menu[i].checked, host.menu[i].text == u"a");
    texts.push_back(host.menu[i].text);
  }
  EXPECT_EQ(texts, (Names{u"B", u"C", u"a", u"e.zip"}));
  EXPECT_EQ(v.state.list_count, 4);

  host.menu_choice = 8201;
  show_folder_menu(v);
  EXPECT_EQ(v.state.LastDir, u"\\C");
  EXPECT_EQ(v.dialog.text(ctl::path_box), u"\\C");
  EXPECT_EQ(items(ctl::page_list), (Names{u"1.jpg"}));
}

}  // namespace
}  // namespace zeb

namespace zeb {
namespace {

// The whole path through the script front end: entering an archive from the
// folder list, sorting it, choosing and opening a page, and leaving again.
TEST(BrowsingScript, archive_is_entered_sorted_opened_and_left) {
  fixtures::TempDir root, settings;
  // Listed in natural order; the button sorts by code units.
  fixtures::write_file(root / "book.zip", fixtures::zip_bytes({stored("b.jpg", fixtures::jpeg_bytes(40, 16)),
                                                               stored("10.jpg", fixtures::jpeg_bytes(56, 16)),
                                                               stored("9.jpg", fixtures::jpeg_bytes(72, 16))}));
  const auto run = testing::run_script(root.path(), settings.path(),
                                       "select 1001 1\n"
                                       "control 1003\n"
                                       "click 1026\n"
                                       "control 1043\n"
                                       "tick\n"
                                       "control 1003\ncontrol 1092\n"
                                       "select 1003 2\n"
                                       "dblclick 1003\n"
                                       "state\n"
                                       "cancel\n"
                                       "select 1001 0\n"
                                       "state\n");
  ASSERT_EQ(run.status, 0) << run.err;
  const auto controls = run.controls();
  ASSERT_EQ(controls.size(), 4u);
  using J = nlohmann::json;
  EXPECT_EQ(controls[0]["items"], J({"9.jpg", "10.jpg", "b.jpg"}));
  EXPECT_EQ(controls[1]["text"], "昇順でソート中");
  EXPECT_EQ(controls[2]["items"], J({"10.jpg", "9.jpg", "b.jpg"}));
  std::string zip = fixtures::read_file(root / "book.zip");
  for (int k = 0; k < 3; ++k) {
    // Each offset names the data of the entry now at position k.
    long long offset = std::stoll(controls[3]["items"][k].get<std::string>());
    std::string expected = fixtures::jpeg_bytes(k == 0 ? 56 : k == 1 ? 72 : 40, 16);
    EXPECT_EQ(zip.substr(offset, expected.size()), expected) << k;
  }
  const auto states = run.states();
  ASSERT_EQ(states.size(), 2u);
  EXPECT_EQ(states[0]["LastDir"], "\\book.zip");
  EXPECT_EQ(states[0]["viewing"], 1);
  EXPECT_EQ(states[0]["page_index"], 2);
  EXPECT_EQ(states[0]["page_width"], 40);
  EXPECT_EQ(states[1]["LastDir"], "");
  EXPECT_EQ(states[1]["viewing"], 0);
  EXPECT_EQ(states[1]["archive_mode"], 0);
}

}  // namespace
}  // namespace zeb
