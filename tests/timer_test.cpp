// The 100 ms tick: smooth scrolling, wrap-around at the edges, held zoom,
// drags, the slide show, requested actions and the check boxes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/control_ids.h"
#include "app/startup.h"
#include "platform/text.h"
#include "tests/harness.h"
#include "tools/fixtures/fixtures.h"
#include "view/timer.h"

namespace zeb {
namespace {

class FakeHost : public platform::Host {
 public:
  bool message_box(const std::u16string&, const std::u16string&) override { return false; }
  int track_popup_menu(const std::vector<platform::MenuItem>&) override { return 0; }
  bool foreground_window_exists() override { return foreground; }
  bool foreground = false;
};

class TimerTest : public ::testing::Test {
 protected:
  TimerTest() : v(p) {
    p.host = &host;
    create_controls(v);
  }
  void add_pages(int count) {
    for (int i = 0; i < count; ++i) {
      v.dialog.insert_item(ctl::page_list, -1, text_page(i));
    }
  }
  static std::u16string text_page(int i) { return u"p" + std::u16string(1, u'a' + i) + u".jpg"; }
  // Offsets moved on each of n ticks along one axis.
  std::vector<int> moves(int ticks, int ViewerState::*axis) {
    std::vector<int> out;
    for (int i = 0; i < ticks; ++i) {
      const int before = v.state.*axis;
      on_timer(v);
      out.push_back(v.state.*axis - before);
    }
    return out;
  }

  // The key is held at the edge: after five still ticks the page wraps to
  // the far end, then scrolling pauses for three ticks.
  void expect_wrap(int key, int ViewerState::*axis) {
    v.state.key_state = key;
    v.state.*axis = 0;
    for (int i = 1; i <= 4; ++i) {
      on_timer(v);
      EXPECT_EQ(v.state.*axis, 0) << "tick " << i;
    }
    on_timer(v);
    EXPECT_EQ(v.state.*axis, kFarEnd);
    EXPECT_EQ(v.state.load_block, 3);
    for (int i = 0; i < 3; ++i) on_timer(v);
    EXPECT_EQ(v.state.*axis, kFarEnd);  // the pause
    EXPECT_EQ(v.state.load_block, 0);
    on_timer(v);
    EXPECT_LT(v.state.*axis, kFarEnd);  // moving again
  }

  FakeHost host;
  platform::Platform p;
  Viewer v;
};

TEST(SmoothSpeed, accelerates_by_its_steps_then_holds_at_the_cap) {
  const std::array<int, 4> steps = {1, 4, 8, 8};
  SmoothSpeed s;
  std::vector<int> speeds;
  for (int i = 0; i < 12; ++i) {
    speeds.push_back(s.speed);
    s = next_smooth_speed(s, 2, 64, steps);
  }
  EXPECT_EQ(speeds, (std::vector<int>{1, 2, 6, 14, 22, 30, 38, 46, 54, 62, 64, 64}));
  EXPECT_EQ(s.accel_index, 2);
  const SmoothSpeed stopped = next_smooth_speed(s, 0, 64, steps);
  EXPECT_EQ(stopped.speed, 1);
  EXPECT_EQ(stopped.accel_index, 0);
}

TEST(WrapOffset, jumps_to_the_opposite_end_for_either_mirror_sign) {
  EXPECT_EQ(wrap_offset_x(1, 1), kFarEnd);
  EXPECT_EQ(wrap_offset_x(2, 1), 0);
  EXPECT_EQ(wrap_offset_x(1, -1), 0);
  EXPECT_EQ(wrap_offset_x(2, -1), kFarEnd);
  EXPECT_EQ(wrap_offset_y(3, 1), 0);
  EXPECT_EQ(wrap_offset_y(4, 1), kFarEnd);
  EXPECT_EQ(wrap_offset_y(3, -1), kFarEnd);
  EXPECT_EQ(wrap_offset_y(4, -1), 0);
  // A horizontal state never jumps vertically and the reverse.
  EXPECT_EQ(wrap_offset_x(3, 1), -1);
  EXPECT_EQ(wrap_offset_y(2, 1), -1);
  EXPECT_EQ(wrap_offset_y(0, 1), -1);
}

TEST(HeldZoom, clamps_at_the_limits_compared_in_double_precision) {
  float z = 0.2f;
  z = held_zoom_step(z, 1);
  EXPECT_FLOAT_EQ(z, 0.15f);
  z = held_zoom_step(z, 1);
  EXPECT_GT(static_cast<double>(z), 0.1);  // about 0.10000001 is kept
  EXPECT_NE(z, 0.1f);
  z = held_zoom_step(z, 1);
  EXPECT_EQ(z, 0.1f);

  z = 1.0f;
  for (int i = 0; i < 17; ++i) z = held_zoom_step(z, 1);
  EXPECT_GT(z, 0.1f);
  EXPECT_EQ(held_zoom_step(z, 1), 0.1f);  // about 0.09999985 before the clamp

  z = 1.0f;
  for (int i = 0; i < 40; ++i) z = held_zoom_step(z, 2);
  EXPECT_LT(z, 3.0f);
  EXPECT_EQ(held_zoom_step(z, 2), 3.0f);  // about 3.05 before the clamp
}

TEST_F(TimerTest, held_key_scrolls_with_acceleration_in_smooth_mode) {
  v.state.SC_MODE = 1;
  v.state.MAX_SP = 64;
  v.state.scroll_x = 0;
  v.state.key_state = 24;  // right
  EXPECT_EQ(moves(12, &ViewerState::scroll_x),
            (std::vector<int>{1, 2, 6, 14, 22, 30, 38, 46, 54, 62, 64, 64}));
  EXPECT_EQ(v.state.key_state, 24);  // held requests stay set
}

TEST_F(TimerTest, held_key_scrolls_at_constant_speed_and_follows_the_mirror_sign) {
  v.state.SC_MODE = 0;
  v.state.MAX_SP = 64;
  v.state.scroll_y = 0;
  v.state.key_state = 22;  // down
  EXPECT_EQ(moves(3, &ViewerState::scroll_y), (std::vector<int>{64, 64, 64}));
  v.state.ud_mir = -1;
  EXPECT_EQ(moves(2, &ViewerState::scroll_y), (std::vector<int>{-64, -64}));
  EXPECT_EQ(moves(2, &ViewerState::scroll_y), (std::vector<int>{-64, 0}));  // never below 0
}

TEST_F(TimerTest, smooth_speed_falls_back_after_the_key_is_released) {
  v.state.SC_MODE = 1;
  v.state.scroll_x = 0;
  v.state.key_state = 24;
  moves(4, &ViewerState::scroll_x);
  v.state.key_state = 0;
  on_timer(v);
  EXPECT_EQ(v.state.scroll_speed, 1);
  v.state.key_state = 24;
  EXPECT_EQ(moves(2, &ViewerState::scroll_x), (std::vector<int>{1, 2}));
}

TEST_F(TimerTest, up_key_at_the_top_wraps_to_the_bottom) {
  v.state.ud_lop = 1;
  v.state.scroll_x = 0;
  expect_wrap(21, &ViewerState::scroll_y);
}

TEST_F(TimerTest, mirrored_down_key_at_offset_zero_wraps_to_the_far_end) {
  v.state.ud_lop = 1;
  v.state.ud_mir = -1;
  v.state.scroll_x = 0;
  expect_wrap(22, &ViewerState::scroll_y);
}

TEST_F(TimerTest, left_key_at_the_left_end_wraps_to_the_right_end) {
  v.state.lr_lop = 1;
  v.state.scroll_y = 0;
  expect_wrap(23, &ViewerState::scroll_x);
}

TEST_F(TimerTest, mirrored_right_key_at_offset_zero_wraps_to_the_far_end) {
  v.state.lr_lop = 1;
  v.state.lr_mir = -1;
  v.state.scroll_y = 0;
  expect_wrap(24, &ViewerState::scroll_x);
}

TEST_F(TimerTest, edge_without_wrap_option_only_restarts_the_wait) {
  v.state.scroll_x = 0;
  v.state.scroll_y = 0;
  v.state.key_state = 21;
  for (int i = 0; i < 5; ++i) on_timer(v);
  EXPECT_EQ(v.state.scroll_y, 0);
  EXPECT_EQ(v.state.edge_wait, 5);
  EXPECT_EQ(v.state.load_block, 0);
}

TEST_F(TimerTest, edge_test_clamps_to_the_displayed_page_in_zoom_modes) {
  v.state.v_mode = 1;
  v.window.page_width = 600;
  v.window.page_height = 800;
  v.state.scroll_x = 100;
  v.state.scroll_y = 0;
  v.state.key_state = 24;
  on_timer(v);
  EXPECT_EQ(v.state.scroll_x, 120);  // 600 - 480
}

TEST_F(TimerTest, drag_moves_while_the_stylus_is_down_and_holds_the_slide_show) {
  add_pages(3);
  v.state.viewing = 1;
  v.state.slide_show_on = 1;
  v.state.slide_countdown = 1;
  v.state.drag_pending = 1;
  v.state.drag_dx = 10;
  v.state.drag_dy = -5;
  v.state.scroll_x = 0;
  v.state.scroll_y = 3;
  p.keys.set_stylus(true);
  on_timer(v);
  EXPECT_EQ(v.state.scroll_x, 10);
  EXPECT_EQ(v.state.scroll_y, 0);
  EXPECT_EQ(v.state.slide_countdown, 1);
  EXPECT_EQ(v.state.page_index, 0);
  p.keys.set_stylus(false);
  on_timer(v);
  EXPECT_EQ(v.state.drag_pending, 0);
  EXPECT_EQ(v.state.scroll_x, 10);
  EXPECT_EQ(v.state.page_index, 0);  // the tick that ends the drag does nothing else
  on_timer(v);
  EXPECT_EQ(v.state.page_index, 1);
}

TEST_F(TimerTest, held_zoom_tap_steps_each_tick) {
  v.state.tap_down = 2;
  v.state.zoom = 2.9f;
  on_timer(v);
  EXPECT_FLOAT_EQ(v.state.zoom, 2.95f);
  on_timer(v);
  EXPECT_FLOAT_EQ(v.state.zoom, 3.0f);
  v.state.tap_down = 0;
  on_timer(v);
  EXPECT_FLOAT_EQ(v.state.zoom, 3.0f);
}

TEST_F(TimerTest, slide_show_turns_a_page_every_wait_only_while_viewing) {
  add_pages(4);
  v.dialog.set_text(ctl::wait_field, u"20");
  v.state.SlideShow = 20;
  v.state.slide_countdown = 20;
  v.state.slide_show_on = 1;
  for (int i = 0; i < 30; ++i) on_timer(v);
  EXPECT_EQ(v.state.page_index, 0);  // the page list is shown
  v.state.viewing = 1;
  v.state.slide_countdown = 20;
  for (int i = 0; i < 19; ++i) on_timer(v);
  EXPECT_EQ(v.state.page_index, 0);
  on_timer(v);
  EXPECT_EQ(v.state.page_index, 1);
  for (int i = 0; i < 20; ++i) on_timer(v);
  EXPECT_EQ(v.state.page_index, 2);
  v.state.page_index = 3;
  for (int i = 0; i < 20; ++i) on_timer(v);
  EXPECT_EQ(v.state.page_index, 0);  // after the last page comes the first
}

TEST_F(TimerTest, random_order_stays_within_the_page_list) {
  v.state.viewing = 1;
  v.state.random_page = 1;
  v.state.page_index = 0;
  default_action(v);  // an empty list turns no page and divides by nothing
  EXPECT_EQ(v.state.page_index, 0);
  add_pages(1);
  for (int i = 0; i < 20; ++i) {
    default_action(v);
    EXPECT_EQ(v.state.page_index, 0);
  }
  add_pages(4);
  std::vector<int> seen(5, 0);
  for (int i = 0; i < 400; ++i) {
    default_action(v);
    ASSERT_GE(v.state.page_index, 0);
    ASSERT_LT(v.state.page_index, 5);
    seen[v.state.page_index] += 1;
  }
  for (int count : seen) EXPECT_GT(count, 0);
}

TEST_F(TimerTest, previous_page_waits_while_the_settings_panel_is_open) {
  add_pages(3);
  v.state.viewing = 1;
  v.state.settings_open = 1;
  v.state.key_state = 10;
  v.state.scroll_x = 0;
  v.state.scroll_y = 0;
  on_timer(v);
  EXPECT_EQ(v.state.key_state, 10);
  EXPECT_EQ(v.dialog.text(ctl::file_path_box), u"");  // the tick ended early
  v.state.settings_open = 0;
  on_timer(v);
  EXPECT_EQ(v.state.key_state, -1);
  EXPECT_EQ(v.state.page_index, 2);  // back from the first page to the last
  EXPECT_EQ(v.dialog.text(ctl::file_path_box),
            text::format("%d:%d", v.state.scroll_x, v.state.scroll_y));
}

TEST_F(TimerTest, minimise_request_then_restore_when_a_foreground_window_exists) {
  v.state.key_state = 26;
  on_timer(v);
  EXPECT_EQ(v.state.key_state, -1);
  EXPECT_EQ(v.state.timer_state, 1);
  EXPECT_TRUE(p.window.minimized);
  EXPECT_EQ(p.window.w, 1);
  EXPECT_EQ(p.window.x, -1);
  on_timer(v);
  EXPECT_EQ(v.state.timer_state, 1);
  host.foreground = true;
  on_timer(v);
  EXPECT_EQ(v.state.timer_state, 2);
  EXPECT_TRUE(p.window.minimized);
  v.dialog.show(ctl::focus_sink, true);
  on_timer(v);
  EXPECT_EQ(v.state.timer_state, 0);
  EXPECT_FALSE(p.window.minimized);
  EXPECT_EQ(p.window.w, 480);
  EXPECT_EQ(p.window.h, 640);
  EXPECT_TRUE(p.window.topmost);
  EXPECT_EQ(v.dialog.focus(), ctl::focus_sink);
  EXPECT_FALSE(v.dialog.visible(ctl::focus_sink));
}

TEST_F(TimerTest, pending_sort_waits_for_the_load_block) {
  v.dialog.insert_item(ctl::page_list, -1, u"b.jpg");
  v.dialog.insert_item(ctl::page_list, -1, u"a.jpg");
  v.state.sort_request = 1;
  v.state.load_block = 2;
  on_timer(v);
  EXPECT_EQ(v.state.sort_request, 1);
  on_timer(v);
  on_timer(v);
  EXPECT_EQ(v.state.sort_request, 0);
  EXPECT_EQ(v.dialog.item_text(ctl::page_list, 0), u"a.jpg");
  EXPECT_EQ(v.dialog.focus(), ctl::search_result_edit);
}

TEST_F(TimerTest, check_boxes_toggle_their_flags) {
  v.state.SC_MODE = -1;  // smooth scrolling off as the configuration leaves it
  on_smooth_clicked(v);
  EXPECT_EQ(v.state.SC_MODE, 0);
  EXPECT_FALSE(v.dialog.checked(ctl::smooth_check));
  on_smooth_clicked(v);
  EXPECT_EQ(v.state.SC_MODE, 1);
  EXPECT_TRUE(v.dialog.checked(ctl::smooth_check));

  on_slide_show_clicked(v);
  EXPECT_EQ(v.state.slide_show_on, 1);
  EXPECT_TRUE(v.dialog.checked(ctl::slide_show_check));
  on_random_clicked(v);
  on_random_clicked(v);
  EXPECT_EQ(v.state.random_page, 0);
  EXPECT_FALSE(v.dialog.checked(ctl::random_check));
}

TEST_F(TimerTest, repaint_requests_are_served_once) {
  v.state.repaint_request = 1;
  v.state.picker_redraw_ticks = 1;
  p.paint_requested = false;
  on_timer(v);
  EXPECT_EQ(v.state.repaint_request, 0);
  EXPECT_TRUE(p.paint_requested);
  EXPECT_EQ(v.state.picker_redraw_ticks, 2);
  p.paint_requested = false;
  on_timer(v);
  EXPECT_TRUE(p.paint_requested);  // the picker's delayed redraw
  EXPECT_EQ(v.state.picker_redraw_ticks, 3);
}

}  // namespace
}  // namespace zeb

namespace zeb {
namespace {

using fixtures::TempDir;

// A folder "book" of pages under a fresh storage root, with its own settings folder.
struct Book {
  TempDir root, settings;
  explicit Book(int pages, int width, int height) {
    fixtures::make_dirs(root / "book");
    for (int i = 1; i <= pages; ++i) {
      fixtures::write_jpeg(root / ("book/p" + std::to_string(i) + ".jpg"), width, height);
    }
  }
  testing::ScriptRun run(const std::string& script) {
    return testing::run_script(root.path(), settings.path(), script, {root / "book"});
  }
};

std::vector<int> field_after_each_state(const testing::ScriptRun& run, const char* field) {
  std::vector<int> values;
  for (const auto& line : run.lines) {
    if (line.contains("state")) values.push_back(line["state"][field].get<int>());
  }
  return values;
}

TEST(TimerScript, held_left_key_accelerates_then_wraps_to_the_right_end) {
  Book book(2, 1200, 800);
  std::string script =
      "click 1084\nclick 1084\n"      // smooth scrolling: off (-1) -> 0 -> 1
      "dblclick 1003\n"                // view the first page, right end first
      "tap 240 600\ntap 460 552\ntap 240 320\n"  // horizontal loop on the picker
      "key left down\n";
  for (int i = 0; i < 26; ++i) script += "tick\nstate\n";
  const testing::ScriptRun run = book.run(script);
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(field_after_each_state(run, "scroll_x"),
            (std::vector<int>{719, 717, 711, 697, 675, 645, 607, 561, 507, 445, 381, 317, 253,
                              189, 125, 61, 0, 0, 0, 0, 0, 720, 720, 720, 720, 656}));
}

TEST(TimerScript, slide_show_turns_a_page_every_two_seconds_while_viewing) {
  Book book(3, 64, 48);
  const testing::ScriptRun run = book.run(
      "click 1034\ntick 25\nstate\n"   // the browser is shown: no slide
      "dblclick 1003\ntick 19\nstate\ntick\nstate\ntick 20\nstate\n");
  ASSERT_EQ(run.status, 0) << run.err;
  // The countdown is not reset when the slide show starts: 25 ticks in the
  // browser left it untouched at 20, the first slide comes after 20 ticks.
  EXPECT_EQ(field_after_each_state(run, "page_index"), (std::vector<int>{0, 0, 1, 2}));
}

}  // namespace
}  // namespace zeb
