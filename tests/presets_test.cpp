// Setting presets: saving with its questions, loading, deleting, the preset
// menu, refused names, and loading while a page is shown.
#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <tuple>

#include "app/controls.h"
#include "app/menus.h"
#include "app/settings_handlers.h"
#include "core/control_ids.h"
#include "host/text.h"
#include "settings/presets.h"
#include "tests/harness.h"
#include "tests/test_host.h"
#include "tools/fixtures/fixtures.h"

namespace zeb {
namespace {

using fixtures::TempDir;
using Items = std::vector<std::u16string>;

struct PresetsTest : ::testing::Test {
  TempDir dir;
  zeb::testing::TestHost host;
  platform::Platform p;
  Viewer v{p};
  const std::string folder = dir / "app/ZEB_CFG";

  void SetUp() override {
    p.app_dir_host = dir / "app";
    p.host = &host;
    fixtures::make_dirs(folder);
    create_controls(v);
    for (int i = 0; i < 7; ++i) v.dialog.insert_item(ctl::mode_combo, i, text::from_int(i));
  }
  void save_as(const std::u16string& name, bool answer) {
    host.answers.push_back(answer);
    v.dialog.set_text(ctl::preset_box, name);
    on_preset_save_clicked(v);
  }
  void select(const std::u16string& name) {
    list_presets(v);
    const Items items = listed();
    v.dialog.set_selection(ctl::preset_box, int(std::find(items.begin(), items.end(), name) - items.begin()));
  }
  Items listed() const { return v.dialog.find(ctl::preset_box)->items; }
};

TEST_F(PresetsTest, saving_asks_to_add_or_overwrite) {
  v.state.ud_lop = 1, v.state.lr_mir = -1;
  v.dialog.set_selection(ctl::mode_combo, 3);
  v.dialog.set_text(ctl::size_x, u"200");
  v.dialog.set_text(ctl::size_y, u"320");
  save_as(u"abc", true);
  ASSERT_EQ(host.boxes.size(), 1u);
  EXPECT_EQ(host.boxes[0], std::make_pair(std::u16string(u"\\abc.set"), std::u16string(u"ファイルの追加")));
  const std::string saved = "v_mode=3\r\nud_lop=1\r\nlr_lop=0\r\nr_top=1\r\nu_top=0\r\nv_left=0\r\n"
                            "Text1=200\r\nText2=320\r\nlr_mir=-1\r\nud_mir=1\r\n";
  EXPECT_EQ(fixtures::read_file(folder + "/abc.set"), saved);
  EXPECT_EQ(listed(), Items{u"abc.set"});

  v.dialog.set_selection(ctl::mode_combo, 1);
  save_as(u"abc.set", false);
  EXPECT_EQ(host.boxes.back().second, u"ファイルの上書");
  EXPECT_EQ(fixtures::read_file(folder + "/abc.set"), saved);
}

TEST_F(PresetsTest, deleting_asks_with_the_full_path) {
  fixtures::write_file(folder + "/a.set", "v_mode=1\r\n");
  fixtures::write_file(folder + "/b.set", "v_mode=2\r\n");
  select(u"a.set");
  host.answers.push_back(true);
  on_preset_delete_clicked(v);
  EXPECT_EQ(host.boxes.back(), std::make_pair(text::from_utf8(folder + "/a.set"), std::u16string(u"ファイルの削除")));
  EXPECT_EQ(listed(), Items{u"b.set"});
}

TEST_F(PresetsTest, loading_applies_sizes_without_minimum_and_fixes_signs) {
  fixtures::write_file(folder + "/small.set", "v_mode=2\r\nud_lop=1\r\nlr_lop=1\r\nr_top=0\r\nu_top=2\r\n"
                                              "v_left=1\r\nText1=8\r\nText2=9\r\nlr_mir=0\r\n");
  select(u"small.set");
  on_preset_box_changed(v);
  const auto& s = v.state;
  EXPECT_EQ(std::vector<int>({s.v_mode, s.ud_lop, s.lr_lop, s.r_top, s.u_top, s.v_left, s.Text1, s.Text2}),
            std::vector<int>({2, 1, 1, 0, 2, 1, 8, 9}));
  EXPECT_EQ(s.lr_mir, -1);
  EXPECT_EQ(s.ud_mir, -1);  // missing line
  EXPECT_EQ(v.dialog.selection(ctl::mode_combo), 2);
  EXPECT_EQ(v.dialog.text(ctl::size_x), u"8");
}

TEST_F(PresetsTest, upper_case_suffix_is_listed_but_loads_nothing) {
  fixtures::write_file(folder + "/Big.SET", "v_mode=4\r\n");
  select(u"Big.SET");
  ASSERT_EQ(listed(), Items{u"Big.SET"});
  on_preset_box_changed(v);  // looks for Big.SET.set
  EXPECT_EQ(v.state.v_mode, 0);
}

TEST_F(PresetsTest, menu_lists_presets_after_its_heading_and_loads_the_choice) {
  fixtures::write_file(folder + "/b.set", "v_mode=6\r\n");
  fixtures::write_file(folder + "/a.set", "v_mode=1\r\n");
  fixtures::make_dirs(folder + "/dir.set");  // a folder is no preset
  list_presets(v);
  host.menu_choice = 7201;
  show_preset_menu(v);
  ASSERT_EQ(host.menu.size(), 3u);
  EXPECT_EQ(host.menu[0].text, u"ZoomMode");
  EXPECT_EQ(std::make_pair(host.menu[1].id, host.menu[1].text), std::make_pair(7200, std::u16string(u"a.set")));
  EXPECT_EQ(std::make_pair(host.menu[2].id, host.menu[2].text), std::make_pair(7201, std::u16string(u"b.set")));
  EXPECT_EQ(v.state.list_count, 2);
  EXPECT_EQ(v.state.v_mode, 6);
}

TEST_F(PresetsTest, names_that_could_leave_the_settings_folder_are_refused) {
  for (const auto& name : Items{u"", u".", u"..", u"../evil", u"a/b", u"..\\evil", std::u16string(u"a\0b", 3)})
    save_as(name, true);
  EXPECT_TRUE(host.boxes.empty());
  EXPECT_EQ(std::distance(std::filesystem::recursive_directory_iterator(dir.path()), {}), 2);  // app, ZEB_CFG
}

TEST_F(PresetsTest, names_whose_file_name_would_not_fit_are_refused_before_asking) {
  // Host file names hold 255 bytes: ".set" is counted, a kanji takes three.
  const std::u16string longest(251, u'a'), kanji(83, u'漫');
  for (const auto& name : Items{longest, kanji, longest + u".set"}) save_as(name, true);
  ASSERT_EQ(host.boxes.size(), 3u);  // the third names the first one's file again
  EXPECT_EQ(host.boxes[1].second, u"ファイルの追加");
  EXPECT_EQ(listed(), (Items{longest + u".set", kanji + u".set"}));
  EXPECT_EQ(host.boxes.back(), std::make_pair(u"\\" + longest + u".set", std::u16string(u"ファイルの上書")));

  host.boxes.clear();
  for (const auto& name : Items{longest + u"a", kanji + u"漫", longest + u"a.set"}) save_as(name, true);
  EXPECT_TRUE(host.boxes.empty());
  EXPECT_EQ(listed().size(), 2u);
}

TEST(PresetsWhileViewing, loading_a_preset_keeps_the_shown_page) {
  TempDir root, settings;
  fixtures::make_dirs(root / "book");
  // Pages larger than the screen, so that the fitting mode makes a view bitmap.
  for (int i = 1; i <= 3; ++i)
    fixtures::write_jpeg(root / ("book/p" + std::to_string(i) + ".jpg"), 600, 800, {.number = i});
  fixtures::make_dirs(settings / "ZEB_CFG");
  fixtures::write_file(settings / "ZEB_CFG/fit.set", "v_mode=4\r\n");
  const auto run = testing::run_script(root.path(), settings.path(),
                                       "select 1003 0\ndblclick 1003\nok\nstate\nselect 1036 0\nstate\n",
                                       {root / "book"});
  ASSERT_EQ(run.status, 0) << run.err;
  const std::vector<nlohmann::json> states = run.states();
  ASSERT_EQ(states.size(), 2u);
  EXPECT_EQ(states[1]["v_mode"], 4);
  EXPECT_EQ(states[1]["viewing"], 1);
  EXPECT_EQ(states[1]["page_index"], states[0]["page_index"]);
  EXPECT_TRUE(states[0]["view_bitmap"].is_null());
  EXPECT_EQ(states[1]["view_bitmap"], (nlohmann::json{{"width", 480}, {"height", 640}}));
}

TEST(PresetsWhileViewing, a_presets_sizes_show_at_once_from_the_box_and_the_menu) {
  TempDir root, settings;
  fixtures::make_dirs(root / "book");
  fixtures::write_jpeg(root / "book/p1.jpg", 600, 800);
  fixtures::make_dirs(settings / "ZEB_CFG");
  const std::string head = "v_mode=3\r\nud_lop=0\r\nlr_lop=0\r\nr_top=1\r\nu_top=0\r\nv_left=0\r\n";
  const std::string tail = "lr_mir=1\r\nud_mir=1\r\n";
  fixtures::write_file(settings / "ZEB_CFG/a_small.set", head + "Text1=100\r\nText2=100\r\n" + tail);
  fixtures::write_file(settings / "ZEB_CFG/b_wide.set", head + "Text1=300\r\nText2=200\r\n" + tail);
  // The page in view; the first preset from the box; the second from the
  // preset menu of the view panel's toolbar; then exit with Yes.
  const auto run = testing::run_script(root.path(), settings.path(),
                                       "select 1003 0\ndblclick 1003\nstate\n"
                                       "select 1036 0\nstate\ncontrol 1031\ncontrol 1032\n"
                                       "tap 240 600\ntick 2\nmenu 7201\ntap 300 20\ntick 2\nstate\n"
                                       "cancel\nanswer yes\ncancel\n",
                                       {root / "book"});
  ASSERT_EQ(run.status, 0) << run.err;
  const std::vector<nlohmann::json> states = run.states();
  ASSERT_EQ(states.size(), 3u);
  ASSERT_EQ(run.menus().size(), 1u);
  EXPECT_EQ(run.menus()[0]["choice"], 7201);
  // The page fits inside each preset's box in turn.
  EXPECT_EQ(states[0]["Text1"], 240);
  for (const auto& [state, x, y] : {std::tuple{states[1], 100, 100}, std::tuple{states[2], 300, 200}}) {
    EXPECT_EQ(state["v_mode"], 3);
    EXPECT_EQ(state["Text1"], x);
    EXPECT_EQ(state["Text2"], y);
    EXPECT_LE(state["view_bitmap"]["width"], x) << state["view_bitmap"];
    EXPECT_LE(state["view_bitmap"]["height"], y) << state["view_bitmap"];
    EXPECT_GE(state["view_bitmap"]["height"], y * 9 / 10) << state["view_bitmap"];
  }
  ASSERT_EQ(run.controls().size(), 2u);
  EXPECT_EQ(run.controls()[0]["text"], "100");
  EXPECT_EQ(run.controls()[1]["text"], "100");
  const std::string cfg = fixtures::read_file(settings / "ZEB_CFG/zeb.cfg");
  EXPECT_NE(cfg.find("Text1=300\r\nText2=200\r\n"), std::string::npos) << cfg;
}

}  // namespace
}  // namespace zeb
