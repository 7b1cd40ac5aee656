// The configuration file: first-start defaults, reading by position with the
// value rules, every field surviving a save and a load, and a restart.
#include <gtest/gtest.h>

#include "app/controls.h"
#include "core/control_ids.h"
#include "host/text.h"
#include "settings/config.h"
#include "tests/harness.h"
#include "tools/fixtures/fixtures.h"

namespace zeb {
namespace {

using fixtures::TempDir;

// A viewer with its settings folder in a temporary folder and the mode combo
// filled, as start-up has it when the configuration is read.
struct Settings {
  platform::Platform p;
  Viewer v{p};
  explicit Settings(const std::string& app_dir) {
    p.app_dir_host = app_dir;
    create_controls(v);
    for (int i = 0; i < 7; ++i) v.dialog.insert_item(ctl::mode_combo, i, text::from_int(i));
  }
};

struct ConfigTest : ::testing::Test {
  TempDir dir;
  Settings s{dir.path()};
  Viewer& v = s.v;
  std::string path() const { return dir / "ZEB_CFG/zeb.cfg"; }
  void load(const std::string& bytes) {
    fixtures::make_dirs(dir / "ZEB_CFG");
    ASSERT_TRUE(fixtures::write_file(path(), bytes));
    read_configuration(v);
  }
};

TEST_F(ConfigTest, first_start_writes_the_defaults) {
  read_configuration(v);
  EXPECT_EQ(fixtures::read_file(path()),
            "x=0\r\nx=0\r\nLastDir=\\\r\nv_mode=0\r\nud_lop=0\r\nlr_lop=0\r\nr_top=1\r\nu_top=0\r\n"
            "v_left=0\r\nText1=240\r\nText2=320\r\nlr_mir=1\r\nud_mir=1\r\nSlideShow=20\r\nLR_BT=0\r\n"
            "SO_CH=0\r\nSO_CHF=0\r\nMAX_SP=64\r\nSC_MODE=0\r\nLastFName=\r\nZOOM_MODE=0\r\nRSC=0\r\n"
            "MAX_BLOG=50\r\n");
  EXPECT_EQ(v.state.SC_MODE, -1);
  EXPECT_EQ(v.dialog.text(ctl::file_path_box), text::from_utf8(path()));
}

TEST_F(ConfigTest, fields_are_matched_to_lines_by_position_only) {
  load("LastDir=\\Card\\a\r\nv_mode=5\r\nud_lop=\\Card\\c\r\nr_top=4\r\n");
  EXPECT_EQ(v.state.LastDir, u"\\Card\\c");
  EXPECT_EQ(v.state.v_mode, 4);
  EXPECT_EQ(v.dialog.selection(ctl::mode_combo), 4);
}

TEST_F(ConfigTest, short_lf_only_file_gets_the_reading_rules) {
  v.dialog.set_check(ctl::smooth_check, true);
  load("x=0\nx=0\nLastDir=\\Card\\book\nv_mode=3\nud_lop=1\nlr_lop=1\nr_top=2\nu_top=1\nv_left=1\nText1=8\n");
  const auto& st = v.state;
  EXPECT_EQ(st.LastDir, u"\\Card\\book");
  EXPECT_EQ(std::vector<int>({st.v_mode, st.ud_lop, st.lr_lop, st.r_top, st.u_top, st.v_left}),
            std::vector<int>({3, 1, 1, 2, 1, 1}));
  EXPECT_EQ(st.Text1, 16);  // 8 is raised
  EXPECT_EQ(st.Text2, 16);  // missing reads as empty
  EXPECT_EQ(st.lr_mir, -1);
  EXPECT_EQ(st.SlideShow, 0);
  EXPECT_EQ(st.MAX_SP, 1);
  EXPECT_EQ(st.SC_MODE, -1);
  EXPECT_FALSE(v.dialog.checked(ctl::smooth_check));
  EXPECT_EQ(st.MAX_BLOG, 0);
  EXPECT_EQ(st.LastFName, u"");
  EXPECT_EQ(v.dialog.text(ctl::size_x), u"16");
  EXPECT_EQ(v.dialog.text(ctl::speed_field), u"1");
}

TEST_F(ConfigTest, every_saved_field_reads_back) {
  auto& st = v.state;
  const std::u16string long_dir = u"\\Card\\漫画" + std::u16string(300, u'本');  // over 600 bytes
  st.LastDir = long_dir;
  st.LastFName = u"003.jpg\r\nMAX_BLOG=1";  // a line break must not add a line
  st.v_mode = 5, st.ud_lop = 1, st.lr_lop = 1, st.r_top = 0, st.u_top = 2, st.v_left = 1;
  st.Text1 = 300, st.Text2 = 400, st.SlideShow = 35, st.lr_mir = -1, st.ud_mir = 1;
  st.LR_BT = 1, st.SO_CH = 1, st.SO_CHF = 1, st.MAX_SP = 48, st.SC_MODE = 1;
  st.ZOOM_MODE = 1, st.RSC = 2, st.MAX_BLOG = 20;
  apply_configuration_to_controls(v);
  v.dialog.set_text(ctl::size_x, u"301");  // the field, not the state, is saved
  ASSERT_TRUE(write_configuration(v));
  EXPECT_NE(fixtures::read_file(path()).find("LastDir=\\Card\\\x96\x9f\x89\xe6\x96{"), std::string::npos);

  Settings again(dir.path());
  read_configuration(again.v);
  const auto& r = again.v.state;
  EXPECT_EQ(r.LastDir, long_dir);
  EXPECT_EQ(r.LastFName, u"003.jpg");
  EXPECT_EQ(std::vector<int>({r.v_mode, r.ud_lop, r.lr_lop, r.r_top, r.u_top, r.v_left, r.Text1,
                              r.Text2, r.SlideShow, r.lr_mir, r.ud_mir, r.LR_BT, r.SO_CH, r.SO_CHF,
                              r.MAX_SP, r.SC_MODE, r.ZOOM_MODE, r.RSC, r.MAX_BLOG}),
            std::vector<int>({5, 1, 1, 0, 2, 1, 301, 400, 35, -1, 1, 1, 1, 1, 48, 1, 1, 2, 20}));
  EXPECT_TRUE(again.v.dialog.checked(ctl::smooth_check));
}

TEST_F(ConfigTest, failed_save_is_reported) {
  ASSERT_TRUE(fixtures::write_file(dir / "plain", "x"));
  v.platform.app_dir_host = dir / "plain";  // no settings folder can be made below a file
  EXPECT_FALSE(write_configuration(v));
}

TEST(ConfigRestart, book_page_and_settings_survive_an_exit_with_yes) {
  TempDir root, settings;
  fixtures::make_dirs(root / "book");
  for (int i = 1; i <= 8; ++i)
    fixtures::write_jpeg(root / ("book/p" + std::to_string(i) + ".jpg"), 64, 48, {.number = i});
  // Mode 3, smooth scrolling on (two clicks from -1), page 5 reached by
  // opening page 4 and turning once; then back and exit with Yes.
  const auto first = testing::run_script(
      root.path(), settings.path(),
      "select 1014 3\nclick 1084\nclick 1084\nselect 1003 3\ndblclick 1003\nok\nstate\n"
      "cancel\nanswer yes\ncancel\n",
      {root / "book"});
  ASSERT_EQ(first.status, 0) << first.err;
  ASSERT_EQ(first.last_state()["page_index"], 4);

  const auto second = testing::run_script(root.path(), settings.path(), "state\n");
  ASSERT_EQ(second.status, 0) << second.err;
  const auto after = second.last_state();
  EXPECT_EQ(after["LastDir"], "\\book");
  EXPECT_EQ(after["page_index"], 4);
  EXPECT_EQ(after["LastFName"], first.last_state()["LastFName"]);
  EXPECT_EQ(after["v_mode"], 3);
  EXPECT_EQ(after["SC_MODE"], 1);
}

}  // namespace
}  // namespace zeb
