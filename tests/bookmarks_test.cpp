// The bookmark file: the folder history read at start-up and written back
// byte for byte at exit.
#include <gtest/gtest.h>

#include "app/controls.h"
#include "core/control_ids.h"
#include "settings/bookmarks.h"
#include "tests/harness.h"
#include "tools/fixtures/fixtures.h"

namespace zeb {
namespace {

struct BookmarksTest : ::testing::Test {
  fixtures::TempDir dir;
  platform::Platform p;
  Viewer v{p};
  void SetUp() override {
    p.app_dir_host = dir.path();
    create_controls(v);
  }
  std::string path() const { return dir / "ZEB_CFG/auto_bk.dat"; }
  // Reads the file holding `bytes` and writes it back; returns what was written.
  std::string read_and_write(const std::string& bytes) {
    fixtures::make_dirs(dir / "ZEB_CFG");
    fixtures::write_file(path(), bytes);
    read_bookmarks(v);
    EXPECT_TRUE(write_bookmarks(v));
    return fixtures::read_file(path());
  }
};

TEST_F(BookmarksTest, first_run_creates_an_empty_file) {
  read_bookmarks(v);
  EXPECT_EQ(v.dialog.item_count(ctl::folder_history), 0);
  EXPECT_TRUE(platform::host_file_exists(path()));
  EXPECT_EQ(fixtures::read_file(path()), "");
}

TEST_F(BookmarksTest, example_history_is_written_back_unchanged) {
  const std::string example = "\\Card\\book1\r\np012.jpg\r\n\\Card\\book2.zip\r\n003.jpg\r\n";
  EXPECT_EQ(read_and_write(example), example);
  EXPECT_EQ(v.dialog.item_text(ctl::folder_history, 2), u"\\Card\\book2.zip");
}

TEST_F(BookmarksTest, lines_are_taken_as_they_come) {
  v.dialog.insert_item(ctl::folder_history, 0, u"stale");
  // Shift-JIS, LF alone, an odd count and a last line without its end.
  EXPECT_EQ(read_and_write("\\Card\\\x96\x9f\x89\xe6\nx.jpg\r\n\\Card\\c"),
            "\\Card\\\x96\x9f\x89\xe6\r\nx.jpg\r\n\\Card\\c\r\n");
  EXPECT_EQ(v.dialog.item_count(ctl::folder_history), 3);
  EXPECT_EQ(v.dialog.item_text(ctl::folder_history, 0), u"\\Card\\漫画");
}

TEST_F(BookmarksTest, long_lines_follow_the_4096_byte_line_buffer) {
  // Reading takes at most 4095 bytes at a time.
  EXPECT_EQ(parse_bookmarks(std::string(5000, 'a') + "\r\nb\r\n"),
            (std::vector<std::u16string>{std::u16string(4095, u'a'), std::u16string(905, u'a'), u"b"}));
  // Writing keeps 4093 bytes, fewer when that would split a two-byte character.
  EXPECT_EQ(format_bookmarks({std::u16string(5000, u'a')}), std::string(4093, 'a') + "\r\n");
  const std::string wide = format_bookmarks({std::u16string(3000, u'漫')});
  EXPECT_EQ(wide.size(), 4092u + 2u);
  EXPECT_EQ(wide.substr(4090), "\x96\x9f\r\n");
}

TEST(BookmarksRestart, opened_book_moves_to_the_front_and_the_history_is_trimmed) {
  fixtures::TempDir root, settings;
  fixtures::make_dirs(root / "book");
  for (int i = 1; i <= 4; ++i)
    fixtures::write_jpeg(root / ("book/p" + std::to_string(i) + ".jpg"), 64, 48, {.number = i});
  // 60 pairs (120 lines); pair 40 is the book, last shown at p3.jpg.
  std::string history;
  for (int i = 0; i < 60; ++i)
    history += i == 40 ? "\\book\r\np3.jpg\r\n" : "\\gone" + std::to_string(i) + "\r\n001.jpg\r\n";
  fixtures::make_dirs(settings / "ZEB_CFG");
  fixtures::write_file(settings / "ZEB_CFG/auto_bk.dat", history);

  const auto run = testing::run_script(root.path(), settings.path(), "state\nanswer yes\ncancel\n", {root / "book"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.last_state()["LastFName"], "p3.jpg");
  const auto items = parse_bookmarks(fixtures::read_file(settings / "ZEB_CFG/auto_bk.dat"));
  ASSERT_EQ(items.size(), 100u);  // MAX_BLOG 50 pairs
  EXPECT_EQ(items[0], u"\\book");
  EXPECT_EQ(items[1], u"p3.jpg");
  EXPECT_EQ(items[2], u"\\gone0");
  EXPECT_EQ(items[99], u"001.jpg");
}

}  // namespace
}  // namespace zeb
