// The configuration file: first-start defaults, reading by position with the
// value rules, and every field surviving a save and a load.
#include <gtest/gtest.h>

#include <string>

#include "app/control_ids.h"
#include "app/startup.h"
#include "platform/text.h"
#include "settings/config.h"
#include "tools/fixtures/fixtures.h"

namespace zeb {
namespace {

using fixtures::TempDir;

// A viewer whose settings folder lies in a temporary folder, with the mode
// combo filled as start-up fills it before the configuration is read.
struct ConfigTest : ::testing::Test {
  TempDir dir;
  platform::Platform platform;
  Viewer v{platform};

  void SetUp() override { prepare(v); }

  void prepare(Viewer& viewer) {
    viewer.platform.app_dir_host = dir.path();
    create_controls(viewer);
    if (viewer.dialog.item_count(ctl::mode_combo) == 0)
      for (int i = 0; i < 7; ++i) viewer.dialog.insert_item(ctl::mode_combo, i, text::from_int(i));
  }
  std::string config_path() const { return dir / "ZEB_CFG/zeb.cfg"; }
  void load_file(const std::string& bytes) {
    fixtures::make_dirs(dir / "ZEB_CFG");
    ASSERT_TRUE(fixtures::write_file(config_path(), bytes));
    read_configuration(v);
  }
};

constexpr char kDefaults[] =
    "x=0\r\nx=0\r\nLastDir=\\\r\nv_mode=0\r\nud_lop=0\r\nlr_lop=0\r\nr_top=1\r\nu_top=0\r\n"
    "v_left=0\r\nText1=240\r\nText2=320\r\nlr_mir=1\r\nud_mir=1\r\nSlideShow=20\r\nLR_BT=0\r\n"
    "SO_CH=0\r\nSO_CHF=0\r\nMAX_SP=64\r\nSC_MODE=0\r\nLastFName=\r\nZOOM_MODE=0\r\nRSC=0\r\n"
    "MAX_BLOG=50\r\n";

// Ten lines that set the first ten fields to values other than the defaults.
constexpr char kTenLines[] =
    "x=7\r\nx=7\r\nLastDir=\\Card\\book\r\nv_mode=3\r\nud_lop=1\r\nlr_lop=1\r\nr_top=2\r\n"
    "u_top=1\r\nv_left=1\r\nText1=200\r\n";

TEST_F(ConfigTest, first_start_writes_the_defaults_and_shows_the_path) {
  read_configuration(v);
  EXPECT_EQ(fixtures::read_file(config_path()), kDefaults);
  EXPECT_EQ(v.state.SC_MODE, -1);
  EXPECT_FALSE(v.dialog.checked(ctl::smooth_check));
  EXPECT_EQ(v.dialog.text(ctl::file_path_box), text::from_utf8(config_path()));
  EXPECT_EQ(v.state.app_dir, text::from_utf8(dir.path()));
  EXPECT_EQ(v.dialog.text(ctl::size_x), u"240");
  EXPECT_EQ(v.dialog.text(ctl::speed_field), u"64");
}

TEST_F(ConfigTest, fields_are_matched_to_lines_by_position_only) {
  // The LastDir line comes first: its value lands nowhere, the second line's
  // value is ignored too, and the third line's value becomes LastDir.
  load_file("LastDir=\\Card\\a\r\nv_mode=5\r\nud_lop=\\Card\\c\r\nr_top=4\r\n");
  EXPECT_EQ(v.state.LastDir, u"\\Card\\c");
  EXPECT_EQ(v.state.v_mode, 4);
  EXPECT_EQ(v.dialog.selection(ctl::mode_combo), 4);
}

TEST_F(ConfigTest, reading_rules_raise_sizes_and_speed_and_fix_signs) {
  load_file(
      "x=0\r\nx=0\r\nLastDir=\\\r\nv_mode=1\r\nud_lop=0\r\nlr_lop=0\r\nr_top=1\r\nu_top=0\r\n"
      "v_left=0\r\nText1=8\r\nText2=\r\nlr_mir=0\r\nud_mir=5\r\nSlideShow=-3\r\nLR_BT=1\r\n"
      "SO_CH=1\r\nSO_CHF=1\r\nMAX_SP=0\r\nSC_MODE=0\r\nLastFName=p1.jpg\r\nZOOM_MODE=0\r\n"
      "RSC=1\r\nMAX_BLOG=9\r\n");
  const auto& s = v.state;
  EXPECT_EQ(s.Text1, 16);
  EXPECT_EQ(s.Text2, 16);
  EXPECT_EQ(s.MAX_SP, 1);
  EXPECT_EQ(s.lr_mir, -1);
  EXPECT_EQ(s.ud_mir, -1);
  EXPECT_EQ(s.SC_MODE, -1);
  EXPECT_EQ(s.SlideShow, -3);  // no rule for the wait
  EXPECT_FALSE(v.dialog.checked(ctl::smooth_check));
  EXPECT_TRUE(v.dialog.checked(ctl::swap_tap_check));
  EXPECT_TRUE(v.dialog.checked(ctl::auto_sort_check));
  EXPECT_TRUE(v.dialog.checked(ctl::auto_rotate_check));
  EXPECT_EQ(v.dialog.text(ctl::size_x), u"16");
  EXPECT_EQ(v.dialog.text(ctl::wait_field), u"-3");
  EXPECT_EQ(v.dialog.text(ctl::speed_field), u"1");
}

TEST_F(ConfigTest, short_file_leaves_later_fields_empty) {
  load_file(kTenLines);
  const auto& s = v.state;
  EXPECT_EQ(s.LastDir, u"\\Card\\book");
  EXPECT_EQ(s.v_mode, 3);
  EXPECT_EQ(s.ud_lop, 1);
  EXPECT_EQ(s.r_top, 2);
  EXPECT_EQ(s.v_left, 1);
  EXPECT_EQ(s.Text1, 200);
  EXPECT_EQ(s.Text2, 16);
  EXPECT_EQ(s.SlideShow, 0);
  EXPECT_EQ(s.MAX_SP, 1);
  EXPECT_EQ(s.MAX_BLOG, 0);
  EXPECT_EQ(s.LastFName, u"");
  EXPECT_EQ(s.lr_mir, -1);
  EXPECT_EQ(s.SC_MODE, -1);
}

TEST_F(ConfigTest, lines_ended_by_lf_alone_read_like_cr_lf) {
  std::string lf_only = kTenLines;
  for (std::size_t at; (at = lf_only.find('\r')) != std::string::npos;) lf_only.erase(at, 1);
  load_file(lf_only);
  EXPECT_EQ(v.state.LastDir, u"\\Card\\book");
  EXPECT_EQ(v.state.v_mode, 3);
  EXPECT_EQ(v.state.Text1, 200);
}

TEST_F(ConfigTest, shift_jis_location_round_trips) {
  v.state.LastDir = u"\\Card\\漫画";
  v.state.LastFName = u"第1話.jpg";
  ASSERT_TRUE(write_configuration(v));
  const std::string bytes = fixtures::read_file(config_path());
  EXPECT_NE(bytes.find("LastDir=\\Card\\\x96\x9f\x89\xe6\r\n"), std::string::npos);

  platform::Platform p2;
  Viewer again(p2);
  prepare(again);
  read_configuration(again);
  EXPECT_EQ(again.state.LastDir, u"\\Card\\漫画");
  EXPECT_EQ(again.state.LastFName, u"第1話.jpg");
}

TEST_F(ConfigTest, long_or_broken_values_never_shift_later_fields) {
  const std::u16string long_dir = u"\\Card\\" + std::u16string(300, u'本');  // 600 bytes
  v.state.LastDir = long_dir;
  v.state.LastFName = u"a\r\nMAX_BLOG=1";  // a line break inside a value
  v.state.MAX_BLOG = 33;
  v.state.v_mode = 2;
  apply_configuration_to_controls(v);
  ASSERT_TRUE(write_configuration(v));

  platform::Platform p2;
  Viewer again(p2);
  prepare(again);
  read_configuration(again);
  EXPECT_EQ(again.state.LastDir, long_dir);
  EXPECT_EQ(again.state.v_mode, 2);
  EXPECT_EQ(again.state.LastFName, u"a");
  EXPECT_EQ(again.state.MAX_BLOG, 33);
}

TEST_F(ConfigTest, every_saved_field_reads_back) {
  auto& s = v.state;
  s.LastDir = u"\\Card\\book2.zip";
  s.LastFName = u"003.jpg";
  s.v_mode = 5;
  s.ud_lop = 1, s.lr_lop = 1, s.r_top = 0, s.u_top = 2, s.v_left = 1;
  s.Text1 = 300, s.Text2 = 400, s.SlideShow = 35;
  s.lr_mir = -1, s.ud_mir = 1;
  s.LR_BT = 1, s.SO_CH = 1, s.SO_CHF = 1;
  s.MAX_SP = 48, s.SC_MODE = 1, s.ZOOM_MODE = 1, s.RSC = 2, s.MAX_BLOG = 20;
  apply_configuration_to_controls(v);
  ASSERT_TRUE(write_configuration(v));

  platform::Platform p2;
  Viewer again(p2);
  prepare(again);
  read_configuration(again);
  const auto& r = again.state;
  EXPECT_EQ(r.LastDir, s.LastDir);
  EXPECT_EQ(r.LastFName, s.LastFName);
  EXPECT_EQ(r.v_mode, 5);
  EXPECT_EQ(r.ud_lop, 1);
  EXPECT_EQ(r.lr_lop, 1);
  EXPECT_EQ(r.r_top, 0);
  EXPECT_EQ(r.u_top, 2);
  EXPECT_EQ(r.v_left, 1);
  EXPECT_EQ(r.Text1, 300);
  EXPECT_EQ(r.Text2, 400);
  EXPECT_EQ(r.SlideShow, 35);
  EXPECT_EQ(r.lr_mir, -1);
  EXPECT_EQ(r.ud_mir, 1);
  EXPECT_EQ(r.LR_BT, 1);
  EXPECT_EQ(r.SO_CH, 1);
  EXPECT_EQ(r.SO_CHF, 1);
  EXPECT_EQ(r.MAX_SP, 48);
  EXPECT_EQ(r.SC_MODE, 1);
  EXPECT_TRUE(again.dialog.checked(ctl::smooth_check));
  EXPECT_EQ(r.ZOOM_MODE, 1);
  EXPECT_EQ(r.RSC, 2);
  EXPECT_EQ(r.MAX_BLOG, 20);
}

TEST_F(ConfigTest, save_takes_mode_and_texts_from_the_controls) {
  read_configuration(v);
  v.dialog.set_selection(ctl::mode_combo, 6);
  v.dialog.set_text(ctl::size_x, u"123");
  v.dialog.set_text(ctl::wait_field, u"7");
  ASSERT_TRUE(write_configuration(v));
  const std::string bytes = fixtures::read_file(config_path());
  EXPECT_NE(bytes.find("\r\nv_mode=6\r\n"), std::string::npos);
  EXPECT_NE(bytes.find("\r\nText1=123\r\n"), std::string::npos);
  EXPECT_NE(bytes.find("\r\nSlideShow=7\r\n"), std::string::npos);
}

TEST_F(ConfigTest, failed_save_is_reported_and_controls_still_follow) {
  // app_dir is a plain file, so no settings folder can be made below it.
  ASSERT_TRUE(fixtures::write_file(dir / "plain", "x"));
  v.platform.app_dir_host = dir / "plain";
  v.state.MAX_SP = 12;
  EXPECT_FALSE(write_configuration(v));
  EXPECT_EQ(v.dialog.text(ctl::speed_field), u"12");
}

}  // namespace
}  // namespace zeb
