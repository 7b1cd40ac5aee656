#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/browser_handlers.h"
#include "app/controls.h"
#include "app/menus.h"
#include "app/page_steps.h"
#include "app/siblings.h"
#include "core/control_ids.h"
#include "host/text.h"
#include "tests/harness.h"
#include "tools/fixtures/fixtures.h"

namespace zeb {
namespace {

using Names = std::vector<std::u16string>;

class Navigation : public ::testing::Test {
 protected:
  fixtures::TempDir root;
  platform::Platform p;
  Viewer v{p};

  void SetUp() override {
    p.storage = platform::Storage(root.path());
    create_controls(v);
    v.state.panel_mode = 1;
  }
  // A page list of n names "a.jpg", "b.jpg", ... that name no files: the
  // steps move whether or not the page can be shown.
  void pages(int n) {
    v.dialog.clear_items(ctl::page_list);
    for (int i = 0; i < n; ++i) v.dialog.insert_item(ctl::page_list, i, std::u16string(1, u'a' + i) + u".jpg");
    v.dialog.set_range(ctl::page_slider, 0, n - 1);
  }
  int step_from(int start, int step) {
    v.state.page_index = start;
    turn_page(v, step);
    return v.state.page_index;
  }
  std::u16string status() const { return v.dialog.text(ctl::status_line); }
};

TEST_F(Navigation, steps_wrap_at_the_ends_and_long_steps_stop_there) {
  pages(5);
  struct Case { int start, step, expected; };
  for (Case c : {Case{4, 1, 0}, Case{4, 10, 0}, Case{1, 10, 4}, Case{0, -1, 4}, Case{0, -10, 4}, Case{2, -10, 0},
                 Case{2, -1, 1}, Case{2, 1, 3}, Case{7, 0, 0}, Case{-1, 0, 0}, Case{3, 0, 3}}) {
    EXPECT_EQ(step_from(c.start, c.step), c.expected) << c.start << " by " << c.step;
  }
  // The loader was handed the page the index names.
  step_from(1, 1);
  EXPECT_EQ(v.state.LastFName, u"c.jpg");

  pages(1);
  EXPECT_EQ(step_from(0, 1), 0);
  EXPECT_EQ(step_from(0, -1), 0);
}

TEST_F(Navigation, random_order_takes_the_generator_value_going_forward_only) {
  pages(5);
  v.state.random_page = 1;
  for (int step : {1, 10}) {
    p.random.source = [step] { return 123 + step; };
    EXPECT_EQ(step_from(4, step), (123 + step) % 5);
  }
  EXPECT_EQ(step_from(0, -1), 4);
  EXPECT_EQ(step_from(3, -1), 2);
}

TEST_F(Navigation, empty_page_list_and_running_turns_leave_the_index_alone) {
  pages(0);
  v.state.random_page = 1;
  for (int step : {1, 10, 0, -1, -10}) EXPECT_EQ(step_from(2, step), 2) << step;
  EXPECT_EQ(v.state.turning, 0);

  pages(5);
  v.state.random_page = 0;
  v.state.turning = 1;
  EXPECT_EQ(step_from(2, 1), 2);
  EXPECT_EQ(step_from(2, 0), 2);
  EXPECT_EQ(step_from(2, -1), 1);  // backward steps are not guarded
}

TEST_F(Navigation, status_line_selection_and_slider_follow_the_index) {
  pages(12);
  v.state.page_index = 0;
  update_status(v);
  EXPECT_EQ(status(), u"   1/  12[a.jpg]");
  v.state.page_index = 30;
  update_status(v);
  EXPECT_EQ(v.state.page_index, 11);
  EXPECT_EQ(status(), u"  12/  12[l.jpg]");
  EXPECT_EQ(v.dialog.pos(ctl::page_slider), 11);

  pages(0);
  v.state.page_index = 0;
  update_status(v);
  EXPECT_EQ(v.state.page_index, 0);
  EXPECT_EQ(status(), u"   1/   0[]");
}

TEST_F(Navigation, quick_slider_moves_load_only_the_last_one_six_ticks_later) {
  pages(12);
  step_from(0, 0);
  ASSERT_EQ(v.state.LastFName, u"a.jpg");
  for (int position : {2, 3, 5, 7, 9}) {
    v.dialog.set_pos(ctl::page_slider, position);
    on_slider_scroll(v);
    EXPECT_EQ(status(), text::format("%4d/  12[", position + 1) + std::u16string(1, u'a' + position) + u".jpg]");
    run_delayed_jump(v);
  }
  for (int tick = 0; tick < 4; ++tick) run_delayed_jump(v);
  EXPECT_EQ(v.state.LastFName, u"a.jpg");
  EXPECT_EQ(v.dialog.selection(ctl::page_list), 0);
  run_delayed_jump(v);  // the sixth tick after the last move
  EXPECT_EQ(v.state.LastFName, u"j.jpg");
  EXPECT_EQ(v.state.page_index, 9);
  EXPECT_EQ(v.dialog.selection(ctl::page_list), 9);
  EXPECT_EQ(v.state.select_delay, 0);

  // A tap in the page list arms the same countdown.
  v.dialog.set_selection(ctl::page_list, 3);
  on_page_list_selchange(v);
  EXPECT_EQ(v.state.page_index, 3);
  EXPECT_EQ(status(), u"   4/  12[d.jpg]");
  for (int tick = 0; tick < 6; ++tick) run_delayed_jump(v);
  EXPECT_EQ(v.state.LastFName, u"d.jpg");
}

class SiblingSteps : public Navigation {
 protected:
  void SetUp() override {
    Navigation::SetUp();
    for (auto folder : {"s1", "s2", "s3"}) {
      fixtures::make_dirs(root / folder);
      fixtures::write_jpeg(root / folder + "/" + folder + ".jpg", 16, 16);
    }
    v.dialog.set_text(ctl::path_box, u"\\s2");
    build_sibling_list(v);
  }
  std::u16string after(void (*move)(Viewer&), const std::u16string& from) {
    v.dialog.set_text(ctl::path_box, from);
    move(v);
    EXPECT_EQ(v.dialog.text(ctl::path_box), v.state.LastDir);
    return v.state.LastDir;
  }
};

TEST_F(SiblingSteps, next_and_previous_wrap_and_start_over_from_unknown_places) {
  ASSERT_EQ(v.dialog.item_count(ctl::sibling_list), 3);
  EXPECT_EQ(after(next_sibling, u"\\s1"), u"\\s2");
  EXPECT_EQ(after(next_sibling, u"\\s3"), u"\\s1");
  EXPECT_EQ(after(previous_sibling, u"\\s1"), u"\\s3");
  EXPECT_EQ(after(previous_sibling, u"\\s3"), u"\\s2");
  EXPECT_EQ(after(next_sibling, u"\\elsewhere"), u"\\s1");
  EXPECT_EQ(after(previous_sibling, u"\\elsewhere"), u"\\s1");
  // The new location's page is shown.
  EXPECT_EQ(v.state.LastFName, u"s1.jpg");

  v.dialog.clear_items(ctl::sibling_list);
  v.state.LastDir = u"\\s2";
  next_sibling(v);
  previous_sibling(v);
  EXPECT_EQ(v.state.LastDir, u"\\s2");
}

TEST_F(SiblingSteps, sibling_menu_commands_within_the_menu_open_that_sibling) {
  v.state.list_count = 3;
  dispatch_menu_command(v, 8202);
  EXPECT_EQ(v.state.LastDir, u"\\s3");
  dispatch_menu_command(v, 8203);  // beyond the menu
  dispatch_menu_command(v, 8199);
  EXPECT_EQ(v.state.LastDir, u"\\s3");
  // A menu that counted more items than the list now holds.
  v.state.list_count = 5;
  dispatch_menu_command(v, 8204);
  EXPECT_EQ(v.state.LastDir, u"\\s3");
  dispatch_menu_command(v, 8200);
  EXPECT_EQ(v.state.LastDir, u"\\s1");
}

}  // namespace
}  // namespace zeb

namespace zeb {
namespace {

// Slider moves through the script front end: the status line follows each
// move at once, and only the last position is loaded, six ticks after it.
TEST(NavigationScript, slider_run_loads_only_the_last_position) {
  fixtures::TempDir root, settings;
  fixtures::make_dirs(root / "book");
  for (int i = 0; i < 8; ++i) fixtures::write_jpeg(root / "book" + "/" + std::string(1, 'a' + i) + ".jpg", 16, 16);
  const auto run = testing::run_script(root.path(), settings.path(),
                                       "slider 2\ntick\nslider 3\ntick\nslider 5\ntick\nslider 6\ntick\nslider 4\n"
                                       "control 1043\n"
                                       "tick 5\nstate\ntick\nstate\ncontrol 1003\n",
                                       {root / "book"});
  ASSERT_EQ(run.status, 0) << run.err;
  const std::vector<nlohmann::json> states = run.states();
  ASSERT_EQ(states.size(), 2u);
  const auto controls = run.controls();
  ASSERT_EQ(controls.size(), 2u);
  const std::string target = controls[1]["items"][4].get<std::string>();
  EXPECT_EQ(controls[0]["text"], "   5/   8[" + target + "]");
  EXPECT_NE(states[0]["LastFName"], target);
  EXPECT_EQ(states[0]["select_delay"], 1);
  EXPECT_EQ(states[1]["LastFName"], target);
  EXPECT_EQ(states[1]["page_index"], 4);
  EXPECT_EQ(controls[1]["selection"], 4);
}

}  // namespace
}  // namespace zeb
