// Stylus presses: the zone table to the pixel, drags, the view panel with
// its toolbar and start-position picker, and the number pad.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "app/control_ids.h"
#include "app/startup.h"
#include "input/taps.h"
#include "tests/harness.h"
#include "tools/fixtures/fixtures.h"

namespace zeb {
namespace {

struct ZoneCase {
  int px, py;
  Zone zone;
};

TEST(ZoneAt, borders_belong_to_the_first_zone_tested) {
  const ZoneCase cases[] = {
      {470, 500, Zone::right_lower},   {10, 500, Zone::left_lower},
      {400, 620, Zone::bottom_right},  {100, 620, Zone::bottom_left},
      {300, 620, Zone::bottom_middle}, {10, 20, Zone::top_left},
      {10, 300, Zone::left_upper},     {470, 300, Zone::right_upper},
      {240, 10, Zone::top_middle},     {240, 320, Zone::middle},
      {470, 320, Zone::right_upper},   {470, 322, Zone::right_lower},
      {470, 321, Zone::right_lower},   // layout y 160.5 lies below the upper part
      {20, 100, Zone::left_upper},     {21, 100, Zone::middle},
      {460, 100, Zone::right_upper},   {459, 100, Zone::middle},
      {140, 30, Zone::top_left},       {141, 30, Zone::top_middle},
      {339, 30, Zone::top_middle},     {340, 30, Zone::top_right},
      {240, 31, Zone::middle},         {240, 559, Zone::middle},
      {240, 560, Zone::bottom_middle}, {10, 600, Zone::left_lower},
      {470, 639, Zone::right_lower},   {140, 560, Zone::bottom_left},
  };
  for (const ZoneCase& c : cases) {
    EXPECT_EQ(zone_at(c.px, c.py), c.zone) << "(" << c.px << ", " << c.py << ")";
  }
}

TEST(DragSpeed, truncates_the_scaled_distance_toward_zero) {
  EXPECT_EQ(drag_speed(240, 240), 0);
  EXPECT_EQ(drag_speed(480, 240), 108);
  EXPECT_EQ(drag_speed(0, 240), -108);
  EXPECT_EQ(drag_speed(242, 240), 0);   // 0.9 truncates toward zero
  EXPECT_EQ(drag_speed(238, 240), 0);
  EXPECT_EQ(drag_speed(243, 240), 1);
  EXPECT_EQ(drag_speed(237, 240), -1);
  EXPECT_EQ(drag_speed(0, 320), -144);
}

TEST(NumberPadKey, last_matching_cell_decides) {
  EXPECT_EQ(number_pad_key(420, 560), 0x08);     // Back
  EXPECT_EQ(number_pad_key(382, 430), 0x38);     // on the line between 7 and 8
  EXPECT_EQ(number_pad_key(350, 424), 0x37);     // top-left corner of 7
  EXPECT_EQ(number_pad_key(360, 560), 0x30);     // 0
  EXPECT_EQ(number_pad_key(446, 496), 0x33);     // the border of 6 and 3 belongs to 3
  EXPECT_EQ(number_pad_key(446, 532), 0x08);     // the border of 3 and Back to Back
  EXPECT_EQ(number_pad_key(349, 424), 0);        // left of the pad
  EXPECT_EQ(number_pad_key(400, 569), 0);        // below the pad
}

class FakeHost : public platform::Host {
 public:
  bool message_box(const std::u16string&, const std::u16string&) override { return false; }
  int track_popup_menu(const std::vector<platform::MenuItem>&) override { return 0; }
  bool foreground_window_exists() override { return true; }
};

class TapsTest : public ::testing::Test {
 protected:
  TapsTest() : v(p) {
    p.host = &host;
    create_controls(v);
    v.state.picker_x = 180;
    v.state.picker_y = 186;
    for (const char16_t* name : {u"a.jpg", u"b.jpg", u"c.jpg", u"d.jpg", u"e.jpg"}) {
      v.dialog.insert_item(ctl::page_list, -1, name);
    }
  }
  void view_page(int index) {
    v.state.viewing = 1;
    v.state.page_index = index;
  }
  int page_after_tap(int px, int py) {
    view_page(2);
    on_stylus_down(v, px, py);
    on_stylus_up(v, px, py);
    return v.state.page_index;
  }
  bool panel_controls_visible(bool visible) const {
    for (int id : {ctl::page_slider, ctl::status_line, ctl::window_buttons, ctl::toolbar, ctl::picker}) {
      if (v.dialog.visible(id) != visible) return false;
    }
    return true;
  }

  FakeHost host;
  platform::Platform p;
  Viewer v;
};

TEST_F(TapsTest, page_turning_zones_swap_with_lr_bt) {
  const std::pair<int, int> forward[] = {{470, 500}, {400, 620}};
  const std::pair<int, int> back[] = {{10, 500}, {100, 620}};
  for (auto [x, y] : forward) EXPECT_EQ(page_after_tap(x, y), 3);
  for (auto [x, y] : back) EXPECT_EQ(page_after_tap(x, y), 1);
  on_swap_tap_clicked(v);
  EXPECT_EQ(v.state.LR_BT, 1);
  EXPECT_TRUE(v.dialog.checked(ctl::swap_tap_check));
  for (auto [x, y] : forward) EXPECT_EQ(page_after_tap(x, y), 1);
  for (auto [x, y] : back) EXPECT_EQ(page_after_tap(x, y), 3);
  on_swap_tap_clicked(v);
  EXPECT_EQ(v.state.LR_BT, 0);
  EXPECT_FALSE(v.dialog.checked(ctl::swap_tap_check));
}

TEST_F(TapsTest, zoom_zones_set_the_zoom_or_hold_it) {
  view_page(0);
  v.state.fit_scale = 0.5f;
  v.state.fill_scale = 1.5f;
  on_stylus_down(v, 10, 300);
  EXPECT_FLOAT_EQ(v.state.zoom, 0.5f);
  on_stylus_down(v, 470, 300);
  EXPECT_FLOAT_EQ(v.state.zoom, 1.5f);
  on_stylus_down(v, 240, 10);
  EXPECT_FLOAT_EQ(v.state.zoom, 1.0f);
  on_stylus_down(v, 10, 20);
  EXPECT_EQ(v.state.tap_down, 1);
  on_stylus_up(v, 10, 20);
  EXPECT_EQ(v.state.tap_down, 0);
  on_stylus_down(v, 470, 20);
  EXPECT_EQ(v.state.tap_down, 2);
  EXPECT_EQ(v.state.repaint_request, 1);
  EXPECT_EQ(v.state.picker_redraw_ticks, 1);
}

TEST_F(TapsTest, middle_press_starts_a_drag_that_ignores_further_presses) {
  view_page(2);
  v.state.scroll_x = 100;
  v.state.scroll_y = 10;
  on_stylus_down(v, 240, 320);
  EXPECT_EQ(v.state.drag_pending, 1);
  EXPECT_EQ(v.state.drag_dx, 0);
  EXPECT_EQ(v.state.drag_dy, 0);
  EXPECT_EQ(v.state.scroll_x, 100);
  EXPECT_EQ(v.state.scroll_dir, 5);
  on_stylus_move(v, 340, 200);
  EXPECT_EQ(v.state.drag_dx, 45);
  EXPECT_EQ(v.state.drag_dy, -54);
  on_stylus_down(v, 470, 500);  // before the timer has seen the stylus up
  EXPECT_EQ(v.state.page_index, 2);

  v.state.drag_pending = 0;
  on_stylus_down(v, 140, 100);  // (140 - 240) x 0.45 and (100 - 320) x 0.45
  EXPECT_EQ(v.state.drag_dx, -45);
  EXPECT_EQ(v.state.drag_dy, -99);
  EXPECT_EQ(v.state.scroll_x, 55);
  EXPECT_EQ(v.state.scroll_y, 0);  // never below 0
}

TEST_F(TapsTest, view_panel_opens_closes_and_its_cross_requests_back) {
  view_page(0);
  on_stylus_down(v, 240, 600);
  EXPECT_EQ(v.state.panel_aux, 1);
  EXPECT_TRUE(panel_controls_visible(true));
  on_stylus_down(v, 240, 320);  // outside the toolbar and the picker
  EXPECT_EQ(v.state.panel_aux, 0);
  EXPECT_TRUE(panel_controls_visible(false));
  EXPECT_EQ(v.state.drag_pending, 0);

  toggle_view_panel(v);
  on_stylus_down(v, 450, 10);
  EXPECT_EQ(v.state.key_state, 11);
  EXPECT_EQ(v.state.panel_aux, 0);
  toggle_view_panel(v);
  on_stylus_down(v, 420, 10);
  EXPECT_EQ(v.state.key_state, 26);
  EXPECT_EQ(v.state.panel_aux, 0);
}

TEST_F(TapsTest, toolbar_cells_turn_pages_and_request_sorts) {
  view_page(2);
  toggle_view_panel(v);
  on_stylus_down(v, 130, 20);  // cell 3
  EXPECT_EQ(v.state.page_index, 3);
  on_stylus_down(v, 80, 20);  // the border of cells 1 and 2 belongs to cell 1
  EXPECT_EQ(v.state.page_index, 0);
  on_stylus_down(v, 380, 20);  // cell 9
  EXPECT_EQ(v.state.sort_request, 2);
  on_stylus_down(v, 340, 20);  // cell 8
  EXPECT_EQ(v.state.sort_request, 1);
  EXPECT_EQ(v.state.panel_aux, 1);
}

TEST_F(TapsTest, picker_centre_cell_centres_a_large_page) {
  view_page(0);
  toggle_view_panel(v);
  v.window.page_width = 1000;
  v.window.page_height = 1600;
  on_stylus_down(v, 420, 432);  // digit 5
  EXPECT_EQ(v.state.r_top, 2);
  EXPECT_EQ(v.state.u_top, 2);
  EXPECT_EQ(v.state.scroll_x, (1000 - 480) / 2);
  EXPECT_EQ(v.state.scroll_y, (1600 - 640) / 2);
  EXPECT_EQ(v.state.center_x_pending, 0);
  EXPECT_EQ(v.state.center_y_pending, 0);

  v.window.page_width = 300;
  v.window.page_height = 400;
  on_stylus_down(v, 420, 432);
  EXPECT_EQ(v.state.scroll_x, 0);
  EXPECT_EQ(v.state.scroll_y, 0);

  v.window.page_width = 1000;
  on_stylus_down(v, 460, 470);  // digit 3: right end, bottom end
  EXPECT_EQ(v.state.r_top, 1);
  EXPECT_EQ(v.state.u_top, 1);
  EXPECT_EQ(v.state.scroll_x, 520);
}

TEST_F(TapsTest, picker_toggles_mirror_and_loop_options) {
  view_page(0);
  toggle_view_panel(v);
  const int row3 = (186 + 70) * 2, row4 = (186 + 90) * 2;
  on_stylus_down(v, 420, row3);
  EXPECT_EQ(v.state.ud_mir, -1);
  on_stylus_down(v, 420, row3);
  EXPECT_EQ(v.state.ud_mir, 1);
  on_stylus_down(v, 460, row3);
  EXPECT_EQ(v.state.ud_lop, 1);
  on_stylus_down(v, 420, row4);
  EXPECT_EQ(v.state.lr_mir, -1);
  v.state.lr_lop = 7;  // any value but 0 counts as on
  on_stylus_down(v, 460, row4);
  EXPECT_EQ(v.state.lr_lop, 0);
  on_stylus_down(v, 380, row3);  // the empty cell changes nothing
  EXPECT_EQ(v.state.ud_mir, 1);
  EXPECT_EQ(v.state.lr_mir, -1);
  EXPECT_EQ(v.state.panel_aux, 1);
}

TEST_F(TapsTest, number_pad_sends_keys_to_the_focused_field) {
  v.state.settings_open = 1;
  v.state.panel_mode = 1;
  on_stylus_down(v, 420, 560);
  on_stylus_down(v, 382, 430);
  on_stylus_down(v, 10, 10);  // no cell
  EXPECT_EQ(std::vector<int>(p.injected_keys.begin(), p.injected_keys.end()),
            (std::vector<int>{0x08, 0x38}));
  const platform::Control* pad = v.dialog.find(ctl::number_pad);
  ASSERT_NE(pad, nullptr);
  EXPECT_EQ(pad->rect.x, 350);
  EXPECT_EQ(pad->rect.h, 146);
}

TEST_F(TapsTest, browser_press_opens_a_page_only_from_the_thumbnail_box) {
  v.state.page_index = 0;
  on_stylus_down(v, 10, 500);  // a page-turning zone in the page view
  EXPECT_EQ(v.state.page_index, 0);
  EXPECT_EQ(v.state.viewing, 0);
  EXPECT_EQ(v.state.drag_pending, 0);
  EXPECT_EQ(v.state.repaint_request, 1);
}

}  // namespace
}  // namespace zeb

namespace zeb {
namespace {

using fixtures::TempDir;

struct Book {
  TempDir root, settings;
  explicit Book(int pages) {
    fixtures::make_dirs(root / "book");
    for (int i = 1; i <= pages; ++i) {
      fixtures::write_jpeg(root / ("book/p" + std::to_string(i) + ".jpg"), 64, 48);
    }
  }
  testing::ScriptRun run(const std::string& script) {
    return testing::run_script(root.path(), settings.path(), script, {root / "book"});
  }
};

TEST(TapsScript, zones_turn_pages_and_the_panel_cross_goes_back_to_the_browser) {
  Book book(5);
  const testing::ScriptRun run = book.run(
      "dblclick 1003\n"
      "tap 470 500\nstate\n"
      "tap 10 500\nstate\n"
      "tap 240 600\nstate\ncontrol 1042\n"
      "tap 450 10\nstate\ncontrol 1042\n"
      "tick\nstate\n");
  ASSERT_EQ(run.status, 0) << run.err;
  std::vector<nlohmann::json> states;
  for (const auto& line : run.lines) {
    if (line.contains("state")) states.push_back(line["state"]);
  }
  ASSERT_EQ(states.size(), 5u);
  EXPECT_EQ(states[0]["page_index"], 1);
  EXPECT_EQ(states[1]["page_index"], 0);
  EXPECT_EQ(states[2]["panel_aux"], 1);
  EXPECT_EQ(states[3]["key_state"], 11);
  EXPECT_EQ(states[3]["panel_aux"], 0);
  EXPECT_EQ(states[4]["viewing"], 0);
  EXPECT_EQ(states[4]["key_state"], -1);
  const auto controls = run.controls();
  ASSERT_EQ(controls.size(), 2u);
  EXPECT_TRUE(controls[0]["visible"].get<bool>());
  EXPECT_FALSE(controls[1]["visible"].get<bool>());
}

TEST(TapsScript, number_pad_types_into_the_focused_settings_field) {
  Book book(1);
  const testing::ScriptRun run = book.run(
      "click 1021\n"
      "tap 120 500\ncontrol 1086\n"  // focus the speed field
      "tap 382 430\ncontrol 1086\n"
      "tap 420 560\ntap 420 560\ncontrol 1086\n");
  ASSERT_EQ(run.status, 0) << run.err;
  const auto controls = run.controls();
  ASSERT_EQ(controls.size(), 3u);
  EXPECT_TRUE(controls[0]["focused"].get<bool>());
  const std::string before = controls[0]["text"];
  ASSERT_FALSE(before.empty());
  EXPECT_EQ(controls[1]["text"], before + "8");
  EXPECT_EQ(controls[2]["text"], before.substr(0, before.size() - 1));
}

}  // namespace
}  // namespace zeb
