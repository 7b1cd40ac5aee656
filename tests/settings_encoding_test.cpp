// The code page of the settings files: Shift-JIS byte for byte when every
// line fits it, else UTF-8 throughout behind the byte order mark, and a file
// starting with that mark read as UTF-8; names resume after a restart either
// way.
#include <gtest/gtest.h>

#include "input/keys.h"
#include "settings/bookmarks.h"
#include "settings/config.h"
#include "settings/key_bindings.h"
#include "settings/presets.h"
#include "tests/harness.h"
#include "tools/fixtures/fixtures.h"

namespace zeb {
namespace {

using Items = std::vector<std::u16string>;
const std::string kMark = "\xEF\xBB\xBF";

std::string config_bytes(const std::u16string& last_dir, const std::u16string& last_name) {
  ViewerState s;
  s.LastDir = last_dir;
  s.LastFName = last_name;
  return format_configuration(s, {0, u"240", u"320", u"20"});
}

TEST(SettingsEncoding, files_that_fit_shift_jis_are_written_as_always) {
  const std::string cfg = config_bytes(u"\\漫画", u"第1話.jpg");
  EXPECT_EQ(cfg.rfind("x=0\r\n", 0), 0u);
  EXPECT_NE(cfg.find("LastDir=\\\x96\x9f\x89\xe6\r\n"), std::string::npos);
  EXPECT_NE(cfg.find("LastFName=\x91\xe6\x31\x98\x62.jpg\r\n"), std::string::npos);
  EXPECT_EQ(format_bookmarks({u"\\漫画", u"第1話.jpg"}), "\\\x96\x9f\x89\xe6\r\n\x91\xe6\x31\x98\x62.jpg\r\n");
  EXPECT_EQ(format_preset(ViewerState{}, 1, u"２００", u"320").rfind("v_mode=1\r\n", 0), 0u);
  // What a line holds after its first line break does not count.
  EXPECT_EQ(config_bytes(u"\\a", u"b.jpg\r\né").rfind("x=0", 0), 0u);
}

TEST(SettingsEncoding, a_name_shift_jis_cannot_hold_makes_the_whole_file_utf8) {
  const std::string cfg = config_bytes(u"\\Astérix – Tome 1", u"漫画.jpg");
  EXPECT_EQ(cfg.rfind(kMark + "x=0\r\nx=0\r\nLastDir=\\Astérix – Tome 1\r\n", 0), 0u) << cfg;
  EXPECT_NE(cfg.find("LastFName=漫画.jpg\r\n"), std::string::npos);
  ViewerState back;
  parse_configuration(cfg, back);
  EXPECT_EQ(back.LastDir, u"\\Astérix – Tome 1");
  EXPECT_EQ(back.LastFName, u"漫画.jpg");

  // Characters Shift-JIS takes one way only, and the yen sign, which would
  // read back as a path separator, count as not fitting.
  for (const std::u16string name : {u"\\〜", u"\\¥", u"\\−", u"\\😀"}) {
    EXPECT_EQ(config_bytes(name, u"").rfind(kMark, 0), 0u);
    ViewerState read;
    parse_configuration(config_bytes(name, u""), read);
    EXPECT_EQ(read.LastDir, name);
  }

  const Items items = {u"\\Astérix", u"été.jpg", u"\\漫画", u"1.jpg"};
  const std::string history = format_bookmarks(items);
  EXPECT_EQ(history, kMark + "\\Astérix\r\nété.jpg\r\n\\漫画\r\n1.jpg\r\n");
  EXPECT_EQ(parse_bookmarks(history), items);

  const std::string preset = format_preset(ViewerState{}, 1, u"200é", u"320");
  EXPECT_EQ(preset.rfind(kMark + "v_mode=1\r\n", 0), 0u);
  EXPECT_NE(preset.find("Text1=200é\r\n"), std::string::npos);
}

TEST(SettingsEncoding, the_mark_is_never_part_of_the_first_value) {
  EXPECT_EQ(parse_bookmarks(kMark + "\\été\r\n1.jpg"), (Items{u"\\été", u"1.jpg"}));
  EXPECT_EQ(parse_bookmarks(kMark), Items{});
  ViewerState s;
  parse_preset(kMark + "v_mode=5\r\n", s);
  EXPECT_EQ(s.v_mode, 5);
  KeyActions keys = parse_key_bindings(kMark + "AP00=4\r\nAP01=7\r\n");
  EXPECT_EQ(keys[0], 4);
  EXPECT_EQ(keys[1], 7);
  // Without the mark the same bytes are Shift-JIS.
  EXPECT_NE(parse_bookmarks("\\\xC3\xA9t\xC3\xA9\r\n")[0], u"\\été");
}

TEST(SettingsEncoding, utf8_bookmark_lines_are_half_as_long_again_and_never_cut_in_a_character) {
  std::string kanji;  // three bytes each in UTF-8
  for (int i = 0; i < 3000; ++i) kanji += "漫";
  // Read: pieces of at most 6142 bytes, ending where a character ends.
  const Items pieces = parse_bookmarks(kMark + kanji + "\r\nb\r\n");
  ASSERT_EQ(pieces.size(), 3u);
  EXPECT_EQ(pieces[0], std::u16string(2047, u'漫'));
  EXPECT_EQ(pieces[1], std::u16string(953, u'漫'));
  EXPECT_EQ(pieces[2], u"b");
  // Written: at most 6139 bytes of an item, again whole characters.
  const std::string written = format_bookmarks({std::u16string(3000, u'漫'), u"é"});
  EXPECT_EQ(written, kMark + kanji.substr(0, 2046 * 3) + "\r\né\r\n");
  EXPECT_EQ(parse_bookmarks(written), (Items{std::u16string(2046, u'漫'), u"é"}));
}

TEST(SettingsEncoding, any_name_keeps_its_place_across_a_restart) {
  fixtures::TempDir root, settings;
  const std::string book = root / "Astérix – Tome 1";
  fixtures::make_dirs(book);
  fixtures::write_jpeg(book + "/a.jpg", 64, 48);
  fixtures::write_jpeg(book + "/été.jpg", 80, 48);
  auto first = testing::run_script(root.path(), settings.path(),
                                   "click 1026\ntick\nok\nok\nstate\ncancel\nanswer yes\ncancel\n", {book});
  ASSERT_EQ(first.status, 0) << first.err;
  ASSERT_EQ(first.last_state()["LastFName"], "été.jpg");
  const std::string cfg = fixtures::read_file(settings / "ZEB_CFG/zeb.cfg");
  EXPECT_EQ(cfg.rfind(kMark + "x=0\r\nx=0\r\nLastDir=\\Astérix – Tome 1\r\n", 0), 0u) << cfg;
  EXPECT_NE(cfg.find("LastFName=été.jpg\r\n"), std::string::npos);
  EXPECT_EQ(fixtures::read_file(settings / "ZEB_CFG/auto_bk.dat"), kMark + "\\Astérix – Tome 1\r\nété.jpg\r\n");

  // The next start opens the same book at the same page.
  auto next = testing::run_script(root.path(), settings.path(), "control 1003\nok\nstate\n");
  ASSERT_EQ(next.status, 0) << next.err;
  const auto state = next.last_state();
  EXPECT_EQ(state["LastDir"], "\\Astérix – Tome 1");
  EXPECT_EQ(state["LastFName"], "été.jpg");
  EXPECT_EQ(next.controls().at(0)["items"].at(state["page_index"].get<int>()), "été.jpg");
  EXPECT_EQ(state["page_width"], 80);
}

TEST(SettingsEncoding, a_japanese_library_still_writes_shift_jis) {
  fixtures::TempDir root, settings;
  const std::string book = root / "漫画";
  fixtures::make_dirs(book);
  fixtures::write_jpeg(book + "/第1話.jpg", 64, 48);
  auto run = testing::run_script(root.path(), settings.path(), "ok\nok\nstate\ncancel\nanswer yes\ncancel\n", {book});
  ASSERT_EQ(run.status, 0) << run.err;
  const std::string cfg = fixtures::read_file(settings / "ZEB_CFG/zeb.cfg");
  EXPECT_EQ(cfg.rfind("x=0\r\nx=0\r\nLastDir=\\\x96\x9f\x89\xe6\r\n", 0), 0u) << cfg;
  EXPECT_NE(cfg.find("LastFName=\x91\xe6\x31\x98\x62.jpg\r\n"), std::string::npos);
  EXPECT_EQ(fixtures::read_file(settings / "ZEB_CFG/auto_bk.dat"),
            "\\\x96\x9f\x89\xe6\r\n\x91\xe6\x31\x98\x62.jpg\r\n");
}

}  // namespace
}  // namespace zeb
