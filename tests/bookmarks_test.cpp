// The bookmark file: the folder history read at start-up and written back
// byte for byte at exit.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/control_ids.h"
#include "app/startup.h"
#include "input/bookmarks.h"
#include "tools/fixtures/fixtures.h"

namespace zeb {
namespace {

using fixtures::TempDir;

struct BookmarksTest : ::testing::Test {
  TempDir dir;
  platform::Platform platform;
  Viewer v{platform};

  void SetUp() override {
    platform.app_dir_host = dir.path();
    create_controls(v);
  }
  std::string file() const { return dir / "ZEB_CFG/auto_bk.dat"; }
  void put_file(const std::string& bytes) {
    fixtures::make_dirs(dir / "ZEB_CFG");
    ASSERT_TRUE(fixtures::write_file(file(), bytes));
  }
  std::vector<std::u16string> history() const {
    std::vector<std::u16string> items;
    for (int i = 0; i < v.dialog.item_count(ctl::folder_history); ++i)
      items.push_back(v.dialog.item_text(ctl::folder_history, i));
    return items;
  }
};

TEST_F(BookmarksTest, first_run_creates_an_empty_file) {
  read_bookmarks(v);
  EXPECT_TRUE(history().empty());
  EXPECT_TRUE(platform::host_file_exists(file()));
  EXPECT_EQ(fixtures::read_file(file()), "");
}

TEST_F(BookmarksTest, example_history_is_written_back_unchanged) {
  const std::string example = "\\Card\\book1\r\np012.jpg\r\n\\Card\\book2.zip\r\n003.jpg\r\n";
  put_file(example);
  read_bookmarks(v);
  EXPECT_EQ(history(), (std::vector<std::u16string>{u"\\Card\\book1", u"p012.jpg",
                                                    u"\\Card\\book2.zip", u"003.jpg"}));
  ASSERT_TRUE(write_bookmarks(v));
  EXPECT_EQ(fixtures::read_file(file()), example);
}

TEST_F(BookmarksTest, reading_replaces_the_list_and_takes_lines_as_they_come) {
  v.dialog.insert_item(ctl::folder_history, 0, u"stale");
  // LF alone, an odd number of lines, and a last line without its end.
  put_file("\\Card\\\x96\x9f\x89\xe6\nx.jpg\r\n\\Card\\c");
  read_bookmarks(v);
  EXPECT_EQ(history(), (std::vector<std::u16string>{u"\\Card\\漫画", u"x.jpg", u"\\Card\\c"}));
  ASSERT_TRUE(write_bookmarks(v));
  EXPECT_EQ(fixtures::read_file(file()), "\\Card\\\x96\x9f\x89\xe6\r\nx.jpg\r\n\\Card\\c\r\n");
}

TEST_F(BookmarksTest, lines_longer_than_the_line_buffer_are_read_in_pieces) {
  const auto items = parse_bookmarks(std::string(5000, 'a') + "\r\nb\r\n");
  ASSERT_EQ(items.size(), 3u);
  EXPECT_EQ(items[0], std::u16string(4095, u'a'));
  EXPECT_EQ(items[1], std::u16string(905, u'a'));
  EXPECT_EQ(items[2], u"b");
}

TEST_F(BookmarksTest, long_items_are_cut_to_fit_the_line_buffer_on_whole_characters) {
  const std::string single = format_bookmarks({std::u16string(5000, u'a')});
  EXPECT_EQ(single, std::string(4093, 'a') + "\r\n");
  // Two-byte characters: 4093 bytes would split one, so 4092 are kept.
  const std::string wide = format_bookmarks({std::u16string(3000, u'漫')});
  ASSERT_EQ(wide.size(), 4092u + 2u);
  EXPECT_EQ(wide.substr(4090, 4), "\x96\x9f\r\n");
  // What is written always reads back as one item per line.
  EXPECT_EQ(parse_bookmarks(wide).size(), 1u);
}

TEST_F(BookmarksTest, failed_write_is_reported) {
  ASSERT_TRUE(fixtures::write_file(dir / "plain", "x"));
  platform.app_dir_host = dir / "plain";
  v.dialog.insert_item(ctl::folder_history, 0, u"\\Card\\book1");
  EXPECT_FALSE(write_bookmarks(v));
}

}  // namespace
}  // namespace zeb
