// Stylus presses: the zone table to the pixel, drags, the view panel with
// its toolbar and start-position picker, and the number pad.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/controls.h"
#include "app/settings_handlers.h"
#include "app/window_stylus.h"
#include "core/control_ids.h"
#include "input/taps.h"
#include "tests/harness.h"
#include "tests/test_host.h"
#include "tools/fixtures/fixtures.h"

namespace zeb {
namespace {

TEST(ZoneAt, borders_belong_to_the_first_zone_tested) {
  const struct { int px, py; Zone zone; } cases[] = {
      {470, 500, Zone::right_lower},   {10, 500, Zone::left_lower},   {400, 620, Zone::bottom_right},
      {100, 620, Zone::bottom_left},   {300, 620, Zone::bottom_middle}, {10, 20, Zone::top_left},
      {10, 300, Zone::left_upper},     {470, 300, Zone::right_upper}, {240, 10, Zone::top_middle},
      {240, 320, Zone::middle},        {470, 320, Zone::right_upper}, {470, 322, Zone::right_lower},
      {470, 321, Zone::right_lower},   {20, 100, Zone::left_upper},   {21, 100, Zone::middle},
      {459, 100, Zone::middle},        {140, 30, Zone::top_left},     {141, 30, Zone::top_middle},
      {340, 30, Zone::top_right},      {240, 31, Zone::middle},       {240, 560, Zone::bottom_middle},
      {240, 559, Zone::middle},        {10, 600, Zone::left_lower},   {140, 560, Zone::bottom_left},
  };
  for (const auto& c : cases) EXPECT_EQ(zone_at(c.px, c.py), c.zone) << c.px << ", " << c.py;
}

TEST(ZoneAt, drag_speed_and_number_pad_keys) {
  EXPECT_EQ(drag_speed(480, 240), 108);
  EXPECT_EQ(drag_speed(242, 240), 0);  // 0.9 truncates toward zero
  EXPECT_EQ(drag_speed(237, 240), -1);
  EXPECT_EQ(number_pad_key(420, 560), 0x08);  // Back
  EXPECT_EQ(number_pad_key(382, 430), 0x38);  // on the line between 7 and 8: the later cell
  EXPECT_EQ(number_pad_key(446, 532), 0x08);  // the border of 3 and Back
  EXPECT_EQ(number_pad_key(360, 560), 0x30);
  EXPECT_EQ(number_pad_key(349, 424), 0);     // left of the pad
}

class TapsTest : public ::testing::Test {
 protected:
  TapsTest() : v(p) {
    p.host = &host;
    create_controls(v);
    v.state.picker_x = 180;
    v.state.picker_y = 186;
    v.state.viewing = 1;
    for (int i = 0; i < 5; ++i) v.dialog.insert_item(ctl::page_list, -1, u"p.jpg");
  }
  int page_after_tap(int px, int py) {
    v.state.page_index = 2;
    on_stylus_down(v, px, py);
    return v.state.page_index;
  }

  zeb::testing::TestHost host;
  platform::Platform p;
  Viewer v;
};

TEST_F(TapsTest, page_turning_zones_swap_with_lr_bt) {
  EXPECT_EQ(page_after_tap(470, 500), 3);
  EXPECT_EQ(page_after_tap(400, 620), 3);
  EXPECT_EQ(page_after_tap(10, 500), 1);
  EXPECT_EQ(page_after_tap(100, 620), 1);
  on_swap_tap_clicked(v);
  EXPECT_TRUE(v.dialog.checked(ctl::swap_tap_check));
  EXPECT_EQ(page_after_tap(470, 500), 1);
  EXPECT_EQ(page_after_tap(400, 620), 1);
  EXPECT_EQ(page_after_tap(10, 500), 3);
  EXPECT_EQ(page_after_tap(100, 620), 3);
}

TEST_F(TapsTest, middle_press_starts_a_drag_that_ignores_further_presses) {
  v.state.scroll_x = 100;
  v.state.scroll_y = 10;
  on_stylus_down(v, 240, 320);
  EXPECT_EQ(v.state.drag_pending, 1);
  EXPECT_EQ(v.state.drag_dx, 0);
  EXPECT_EQ(v.state.scroll_x, 100);
  EXPECT_EQ(v.state.scroll_dir, 5);
  EXPECT_EQ(page_after_tap(470, 500), 2);  // before the timer has seen the stylus up

  v.state.drag_pending = 0;
  on_stylus_down(v, 140, 100);
  EXPECT_EQ(v.state.drag_dx, -45);
  EXPECT_EQ(v.state.drag_dy, -99);
  EXPECT_EQ(v.state.scroll_x, 55);
  EXPECT_EQ(v.state.scroll_y, 0);  // never below 0
}

TEST_F(TapsTest, picker_centre_cell_centres_a_large_page_at_once) {
  toggle_view_panel(v);
  v.window.page_width = 1000;
  v.window.page_height = 1600;
  on_stylus_down(v, 420, 432);  // digit 5
  EXPECT_EQ(v.state.r_top, 2);
  EXPECT_EQ(v.state.u_top, 2);
  EXPECT_EQ(v.state.scroll_x, 260);
  EXPECT_EQ(v.state.scroll_y, 480);
  v.window.page_width = 300;
  v.window.page_height = 400;
  on_stylus_down(v, 420, 432);
  EXPECT_EQ(v.state.scroll_x, 0);
  EXPECT_EQ(v.state.scroll_y, 0);
  EXPECT_EQ(v.state.panel_aux, 1);
}

TEST_F(TapsTest, picker_toggles_mirror_and_loop_options) {
  toggle_view_panel(v);
  const int row3 = 512, row4 = 552;
  on_stylus_down(v, 420, row3);
  EXPECT_EQ(v.state.ud_mir, -1);
  on_stylus_down(v, 420, row3);
  EXPECT_EQ(v.state.ud_mir, 1);
  v.state.lr_lop = 7;  // any value but 0 counts as on
  on_stylus_down(v, 460, row4);
  EXPECT_EQ(v.state.lr_lop, 0);
  on_stylus_down(v, 380, row3);  // the empty cell
  EXPECT_EQ(v.state.ud_mir, 1);
  EXPECT_EQ(v.state.panel_aux, 1);
}

// A folder "book" of small pages under a fresh storage root.
struct Book {
  fixtures::TempDir root, settings;
  explicit Book(int pages) {
    fixtures::make_dirs(root / "book");
    for (int i = 1; i <= pages; ++i)
      fixtures::write_jpeg(root / ("book/p" + std::to_string(i) + ".jpg"), 64, 48);
  }
  testing::ScriptRun run(const std::string& script) {
    return testing::run_script(root.path(), settings.path(), script, {root / "book"});
  }
};

TEST(TapsScript, zones_turn_pages_and_the_panel_cross_goes_back_to_the_browser) {
  Book book(5);
  const testing::ScriptRun run = book.run(
      "dblclick 1003\ntap 470 500\nstate\ntap 10 500\nstate\n"
      "tap 240 600\nstate\ncontrol 1042\ntap 450 10\nstate\ncontrol 1042\ntick\nstate\n");
  ASSERT_EQ(run.status, 0) << run.err;
  const std::vector<nlohmann::json> st = run.states();
  ASSERT_EQ(st.size(), 5u);
  EXPECT_EQ(st[0]["page_index"], 1);
  EXPECT_EQ(st[1]["page_index"], 0);
  EXPECT_EQ(st[2]["panel_aux"], 1);
  EXPECT_EQ(st[3]["key_state"], 11);  // the cross, which also closes the panel
  EXPECT_EQ(st[3]["panel_aux"], 0);
  EXPECT_EQ(st[4]["viewing"], 0);
  const auto controls = run.controls();
  ASSERT_EQ(controls.size(), 2u);
  EXPECT_TRUE(controls[0]["visible"].get<bool>());
  EXPECT_FALSE(controls[1]["visible"].get<bool>());
}

TEST(TapsScript, number_pad_types_into_the_focused_settings_field) {
  Book book(1);
  const testing::ScriptRun run = book.run(
      "click 1021\ntap 120 500\ncontrol 1086\n"  // focus the speed field
      "tap 382 430\ncontrol 1086\ntap 420 560\ntap 420 560\ncontrol 1086\n");
  ASSERT_EQ(run.status, 0) << run.err;
  const auto controls = run.controls();
  ASSERT_EQ(controls.size(), 3u);
  const std::string before = controls[0]["text"];
  ASSERT_FALSE(before.empty());
  EXPECT_EQ(controls[1]["text"], before + "8");
  EXPECT_EQ(controls[2]["text"], before.substr(0, before.size() - 1));
}

}  // namespace
}  // namespace zeb
