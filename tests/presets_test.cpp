// Setting presets: saving with its questions, loading, deleting, the preset
// menu, and names that must not leave the settings folder.
#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <string>
#include <vector>

#include "app/control_ids.h"
#include "app/startup.h"
#include "platform/text.h"
#include "settings/presets.h"
#include "tools/fixtures/fixtures.h"

namespace zeb {
namespace {

using fixtures::TempDir;

// Answers message boxes from a queue (No when empty) and records what was
// asked; a menu is answered with a preset choice.
struct FakeHost : platform::Host {
  struct Box { std::u16string text, caption; };
  std::deque<bool> answers;
  std::vector<Box> boxes;
  std::vector<platform::MenuItem> menu;
  int menu_choice = 0;

  bool message_box(const std::u16string& text, const std::u16string& caption) override {
    boxes.push_back({text, caption});
    if (answers.empty()) return false;
    const bool yes = answers.front();
    answers.pop_front();
    return yes;
  }
  int track_popup_menu(const std::vector<platform::MenuItem>& items) override {
    menu = items;
    return menu_choice;
  }
  bool foreground_window_exists() override { return true; }
};

struct PresetsTest : ::testing::Test {
  TempDir dir;
  FakeHost host;
  platform::Platform platform;
  Viewer v{platform};

  void SetUp() override {
    platform.app_dir_host = dir / "app";
    platform.host = &host;
    fixtures::make_dirs(dir / "app/ZEB_CFG");
    create_controls(v);
    for (int i = 0; i < 7; ++i) v.dialog.insert_item(ctl::mode_combo, i, text::from_int(i));
  }
  std::string folder() const { return dir / "app/ZEB_CFG"; }
  void put_preset(const std::string& name, const std::string& bytes) {
    ASSERT_TRUE(fixtures::write_file(folder() + "/" + name, bytes));
  }
  void save_as(const std::u16string& name, bool answer) {
    host.answers.push_back(answer);
    v.dialog.set_text(ctl::preset_box, name);
    on_preset_save_clicked(v);
  }
  void select_preset(const std::u16string& name) {
    list_presets(v);
    const auto& items = v.dialog.find(ctl::preset_box)->items;
    for (std::size_t i = 0; i < items.size(); ++i)
      if (items[i] == name) v.dialog.set_selection(ctl::preset_box, static_cast<int>(i));
  }
  std::vector<std::u16string> listed() const { return v.dialog.find(ctl::preset_box)->items; }
  std::size_t files_below(const std::string& path) const {
    std::size_t n = 0;
    for (const auto& e : std::filesystem::recursive_directory_iterator(path)) n += e.is_regular_file();
    return n;
  }
};

TEST_F(PresetsTest, saving_a_new_name_asks_to_add_and_lists_the_file) {
  v.state.ud_lop = 1, v.state.r_top = 2, v.state.lr_mir = -1;
  v.dialog.set_selection(ctl::mode_combo, 3);
  v.dialog.set_text(ctl::size_x, u"200");
  v.dialog.set_text(ctl::size_y, u"300");
  save_as(u"abc", true);
  ASSERT_EQ(host.boxes.size(), 1u);
  EXPECT_EQ(host.boxes[0].caption, u"ファイルの追加");
  EXPECT_EQ(host.boxes[0].text, u"\\abc.set");
  EXPECT_EQ(fixtures::read_file(folder() + "/abc.set"),
            "v_mode=3\r\nud_lop=1\r\nlr_lop=0\r\nr_top=2\r\nu_top=0\r\nv_left=0\r\n"
            "Text1=200\r\nText2=300\r\nlr_mir=-1\r\nud_mir=1\r\n");
  EXPECT_EQ(listed(), std::vector<std::u16string>{u"abc.set"});
}

TEST_F(PresetsTest, declined_questions_write_nothing) {
  save_as(u"new", false);
  EXPECT_FALSE(platform::host_file_exists(folder() + "/new.set"));

  put_preset("abc.set", "v_mode=1\r\n");
  save_as(u"abc.set", false);
  EXPECT_EQ(host.boxes.back().caption, u"ファイルの上書");
  EXPECT_EQ(host.boxes.back().text, u"\\abc.set");
  EXPECT_EQ(fixtures::read_file(folder() + "/abc.set"), "v_mode=1\r\n");
}

TEST_F(PresetsTest, deleting_asks_with_the_full_path) {
  put_preset("a.set", "v_mode=1\r\n");
  put_preset("b.set", "v_mode=2\r\n");
  select_preset(u"a.set");
  on_preset_delete_clicked(v);  // answered No
  EXPECT_EQ(listed().size(), 2u);

  select_preset(u"a.set");
  host.answers.push_back(true);
  on_preset_delete_clicked(v);
  EXPECT_EQ(host.boxes.back().caption, u"ファイルの削除");
  EXPECT_EQ(host.boxes.back().text, text::from_utf8(folder() + "/a.set"));
  EXPECT_EQ(listed(), std::vector<std::u16string>{u"b.set"});
  EXPECT_FALSE(platform::host_file_exists(folder() + "/a.set"));
}

TEST_F(PresetsTest, loading_applies_values_without_a_size_minimum) {
  put_preset("small.set",
             "v_mode=2\r\nud_lop=1\r\nlr_lop=1\r\nr_top=0\r\nu_top=2\r\nv_left=1\r\n"
             "Text1=8\r\nText2=9\r\nlr_mir=0\r\n");  // ud_mir missing
  select_preset(u"small.set");
  on_preset_box_changed(v);
  const auto& s = v.state;
  EXPECT_EQ(s.v_mode, 2);
  EXPECT_EQ(v.dialog.selection(ctl::mode_combo), 2);
  EXPECT_EQ(s.ud_lop, 1);
  EXPECT_EQ(s.lr_lop, 1);
  EXPECT_EQ(s.r_top, 0);
  EXPECT_EQ(s.u_top, 2);
  EXPECT_EQ(s.v_left, 1);
  EXPECT_EQ(s.Text1, 8);
  EXPECT_EQ(s.Text2, 9);
  EXPECT_EQ(v.dialog.text(ctl::size_x), u"8");
  EXPECT_EQ(s.lr_mir, -1);
  EXPECT_EQ(s.ud_mir, -1);
  EXPECT_TRUE(host.boxes.empty());
}

TEST_F(PresetsTest, upper_case_suffix_is_listed_but_loads_nothing) {
  put_preset("Big.SET", "v_mode=4\r\nud_lop=1\r\n");
  select_preset(u"Big.SET");
  ASSERT_EQ(listed(), std::vector<std::u16string>{u"Big.SET"});
  on_preset_box_changed(v);
  EXPECT_EQ(v.state.v_mode, 0);
  EXPECT_EQ(v.state.ud_lop, 0);
  EXPECT_EQ(preset_file_name(u"Big.SET"), u"Big.SET.set");
}

TEST_F(PresetsTest, menu_lists_presets_in_box_order_after_its_heading) {
  put_preset("b.set", "v_mode=6\r\n");
  put_preset("a.set", "v_mode=1\r\n");
  fixtures::make_dirs(folder() + "/dir.set");  // folders are no presets
  list_presets(v);
  host.menu_choice = preset_menu_first_id + 1;
  show_preset_menu(v);
  ASSERT_EQ(host.menu.size(), 3u);
  EXPECT_EQ(host.menu[0].text, u"ZoomMode");
  EXPECT_EQ(host.menu[1].id, 7200);
  EXPECT_EQ(host.menu[1].text, u"a.set");
  EXPECT_EQ(host.menu[2].id, 7201);
  EXPECT_EQ(host.menu[2].text, u"b.set");
  EXPECT_EQ(v.state.list_count, 2);
  // The choice reaches the window as a command that loads the second preset.
  EXPECT_EQ(v.dialog.selection(ctl::preset_box), 1);
  EXPECT_EQ(v.state.v_mode, 6);
}

TEST_F(PresetsTest, names_that_could_leave_the_settings_folder_are_refused) {
  const std::vector<std::u16string> names = {u"",       u".",         u"..", u"../evil",
                                             u"a/b",    u"..\\evil", std::u16string(u"a\0b", 3)};
  for (const auto& name : names) {
    save_as(name, true);
    host.answers.clear();
  }
  EXPECT_TRUE(host.boxes.empty());
  EXPECT_EQ(files_below(dir.path()), 0u);
  EXPECT_EQ(preset_file_name(u".set"), u".set");
  EXPECT_EQ(preset_file_name(u"abc"), u"abc.set");
}

}  // namespace
}  // namespace zeb
