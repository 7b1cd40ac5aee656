// The 100 ms tick: smooth scrolling, wrap-around at the edges, held zoom,
// drags, the slide show and the minimise/restore sequence.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/controls.h"
#include "app/main_window.h"
#include "app/tick.h"
#include "core/control_ids.h"
#include "tests/harness.h"
#include "tests/test_host.h"
#include "tools/fixtures/fixtures.h"
#include "view/timer.h"

namespace zeb {
namespace {

TEST(TickArithmetic, smooth_speed_accelerates_to_the_cap_and_wraps_jump_by_mirror_sign) {
  SmoothSpeed s;
  std::vector<int> speeds;
  for (int i = 0; i < 12; ++i, s = next_smooth_speed(s, 2, 64, {1, 4, 8, 8})) speeds.push_back(s.speed);
  EXPECT_EQ(speeds, (std::vector<int>{1, 2, 6, 14, 22, 30, 38, 46, 54, 62, 64, 64}));
  EXPECT_EQ(next_smooth_speed(s, 0, 64, {1, 4, 8, 8}).speed, 1);  // no direction: back to 1

  EXPECT_EQ(wrap_offset_x(1, 1), kFarEnd);
  EXPECT_EQ(wrap_offset_x(2, 1), 0);
  EXPECT_EQ(wrap_offset_x(1, -1), 0);
  EXPECT_EQ(wrap_offset_x(2, -1), kFarEnd);
  EXPECT_EQ(wrap_offset_y(3, 1), 0);
  EXPECT_EQ(wrap_offset_y(4, 1), kFarEnd);
  EXPECT_EQ(wrap_offset_y(3, -1), kFarEnd);
  EXPECT_EQ(wrap_offset_y(4, -1), 0);
  EXPECT_EQ(wrap_offset_x(3, 1), -1);  // a vertical state never jumps sideways
}

TEST(TickArithmetic, held_zoom_clamps_at_the_limits_compared_in_double_precision) {
  float z = held_zoom_step(held_zoom_step(0.2f, 1), 1);
  EXPECT_NE(z, 0.1f);  // about 0.10000001 lies above 0.1 and is kept
  EXPECT_EQ(held_zoom_step(z, 1), 0.1f);
  z = 1.0f;
  for (int i = 0; i < 17; ++i) z = held_zoom_step(z, 1);
  EXPECT_GT(z, 0.1f);
  EXPECT_EQ(held_zoom_step(z, 1), 0.1f);  // about 0.09999985 before the clamp
  z = 1.0f;
  for (int i = 0; i < 40; ++i) z = held_zoom_step(z, 2);
  EXPECT_LT(z, 3.0f);
  EXPECT_EQ(held_zoom_step(z, 2), 3.0f);
}

class TimerTest : public ::testing::Test {
 protected:
  TimerTest() : v(p) {
    host.foreground = false;
    p.host = &host;
    create_controls(v);
  }
  void add_pages(int count) {
    for (int i = 0; i < count; ++i) v.dialog.insert_item(ctl::page_list, -1, u"p.jpg");
  }
  std::vector<int> positions(int ticks, int ViewerState::*axis) {
    std::vector<int> out;
    for (int i = 0; i < ticks; ++i, on_timer(v)) out.push_back(v.state.*axis);
    return out;
  }

  zeb::testing::TestHost host;
  platform::Platform p;
  Viewer v;
};

TEST_F(TimerTest, constant_speed_follows_the_mirror_sign_and_stops_at_zero) {
  v.state.scroll_y = 100;
  v.state.key_state = 22;  // down
  EXPECT_EQ(positions(3, &ViewerState::scroll_y), (std::vector<int>{100, 164, 228}));
  v.state.ud_mir = -1;
  EXPECT_EQ(positions(5, &ViewerState::scroll_y), (std::vector<int>{292, 228, 164, 100, 36}));
  on_timer(v);
  EXPECT_EQ(v.state.scroll_y, 0);
}

// Mirrored keys move toward offset 0, so that is where they wrap: after five
// still ticks the page jumps to the far end, then three ticks without moving.
TEST_F(TimerTest, mirrored_keys_wrap_from_offset_zero_after_five_still_ticks) {
  v.state.ud_lop = 1;
  v.state.ud_mir = -1;
  v.state.scroll_x = v.state.scroll_y = 0;
  v.state.key_state = 22;  // down
  EXPECT_EQ(positions(10, &ViewerState::scroll_y),
            (std::vector<int>{0, 0, 0, 0, 0, kFarEnd, kFarEnd, kFarEnd, kFarEnd, kFarEnd - 64}));
  v.state.lr_lop = 1;
  v.state.lr_mir = -1;
  v.state.key_state = 24;  // right
  EXPECT_EQ(positions(7, &ViewerState::scroll_x), (std::vector<int>{0, 0, 0, 0, 0, kFarEnd, kFarEnd}));
}

TEST_F(TimerTest, edge_test_clamps_to_the_page_in_zoom_modes) {
  v.state.v_mode = 1;
  v.window.page_width = 600;
  v.window.page_height = 800;
  v.state.scroll_x = 100;
  v.state.key_state = 24;
  on_timer(v);
  EXPECT_EQ(v.state.scroll_x, 120);  // 600 - 480
}

TEST_F(TimerTest, edge_test_of_a_page_enlarged_past_the_int_range_keeps_the_offset) {
  v.state.v_mode = 1;
  v.window.page_width = 600;
  v.window.page_height = 800;
  v.state.mode_scale = 1e7f;  // 6e9 pixels wide: the width saturates rather than wrapping
  v.state.scroll_x = 100;
  v.state.key_state = 24;
  on_timer(v);
  EXPECT_EQ(v.state.scroll_x, 164);  // moved by the speed, nothing to clamp
}

TEST_F(TimerTest, drag_moves_while_the_stylus_is_down_and_holds_the_slide_show) {
  add_pages(3);
  v.state.viewing = v.state.slide_show_on = v.state.drag_pending = 1;
  v.state.slide_countdown = 1;
  v.state.drag_dx = 10;
  v.state.drag_dy = -5;
  v.state.scroll_x = 0;
  v.state.scroll_y = 3;
  p.keys.set_stylus(true);
  on_timer(v);
  EXPECT_EQ(v.state.scroll_x, 10);
  EXPECT_EQ(v.state.scroll_y, 0);
  EXPECT_EQ(v.state.slide_countdown, 1);
  p.keys.set_stylus(false);
  on_timer(v);  // finds the stylus up and does nothing else
  EXPECT_EQ(v.state.drag_pending, 0);
  EXPECT_EQ(v.state.page_index, 0);
  on_timer(v);
  EXPECT_EQ(v.state.page_index, 1);
}

TEST_F(TimerTest, random_order_stays_within_the_page_list) {
  v.state.viewing = v.state.random_page = 1;
  ok_action(v);  // an empty list turns no page and divides by nothing
  EXPECT_EQ(v.state.page_index, 0);
  add_pages(1);
  ok_action(v);
  EXPECT_EQ(v.state.page_index, 0);
  add_pages(4);
  std::vector<int> seen(5, 0);
  for (int i = 0; i < 300; ++i) {
    ok_action(v);
    ASSERT_GE(v.state.page_index, 0);
    ASSERT_LT(v.state.page_index, 5);
    seen[v.state.page_index] += 1;
  }
  for (int count : seen) EXPECT_GT(count, 0);
}

TEST_F(TimerTest, minimise_then_restore_once_a_foreground_window_exists) {
  v.state.key_state = 26;
  on_timer(v);
  on_timer(v);
  EXPECT_EQ(v.state.key_state, -1);
  EXPECT_EQ(v.state.timer_state, 1);
  EXPECT_TRUE(p.window.minimized);
  EXPECT_EQ(p.window.x, -1);
  host.foreground = true;
  on_timer(v);
  EXPECT_EQ(v.state.timer_state, 2);
  on_timer(v);
  EXPECT_EQ(v.state.timer_state, 0);
  EXPECT_FALSE(p.window.minimized);
  EXPECT_EQ(p.window.w, 480);
  EXPECT_TRUE(p.window.topmost);
  EXPECT_EQ(v.dialog.focus(), ctl::focus_sink);
}

// A folder "book" of pages under a fresh storage root and settings folder.
struct Book {
  fixtures::TempDir root, settings;
  Book(int pages, int width, int height) {
    fixtures::make_dirs(root / "book");
    for (int i = 1; i <= pages; ++i)
      fixtures::write_jpeg(root / ("book/p" + std::to_string(i) + ".jpg"), width, height);
  }
  std::vector<int> run(const std::string& script, const char* field) {
    const testing::ScriptRun r = testing::run_script(root.path(), settings.path(), script, {root / "book"});
    EXPECT_EQ(r.status, 0) << r.err;
    std::vector<int> values;
    for (const auto& line : r.lines)
      if (line.contains("state")) values.push_back(line["state"][field].get<int>());
    return values;
  }
};

TEST(TimerScript, held_left_key_accelerates_then_wraps_to_the_right_end) {
  Book book(2, 1200, 800);
  std::string script =
      "click 1084\nclick 1084\n"                 // smooth scrolling: off (-1) -> 0 -> on
      "dblclick 1003\n"                          // the first page, right end first
      "tap 240 600\ntap 460 552\ntap 240 320\n"  // horizontal loop on the picker
      "key left down\n";
  for (int i = 0; i < 26; ++i) script += "tick\nstate\n";
  // The far end of 30000 is cut to 720 by the drawing's clamp.
  EXPECT_EQ(book.run(script, "scroll_x"),
            (std::vector<int>{719, 717, 711, 697, 675, 645, 607, 561, 507, 445, 381, 317, 253,
                              189, 125, 61, 0, 0, 0, 0, 0, 720, 720, 720, 720, 656}));
}

TEST(TimerScript, slide_show_turns_a_page_every_two_seconds_while_viewing) {
  Book book(3, 64, 48);
  // 25 ticks in the browser leave the countdown alone.
  EXPECT_EQ(book.run("click 1034\ntick 25\nstate\n"
                     "dblclick 1003\ntick 19\nstate\ntick\nstate\ntick 20\nstate\n",
                     "page_index"),
            (std::vector<int>{0, 0, 1, 2}));
}

}  // namespace
}  // namespace zeb
