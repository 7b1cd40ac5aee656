// The screen-changed mark that tells the window when to show the screen:
// every change of the screen's pixels is marked (so the window never misses
// one), and a viewer left alone marks nothing (so the window shows nothing
// again while nobody reads).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/control_ids.h"
#include "tests/reader.h"
#include "tools/fixtures/fixtures.h"

namespace zeb {
namespace {

namespace fx = fixtures;

// Runs the line and returns whether the screen was marked changed; fails
// the test when the pixels changed without the mark.
bool run_and_take_mark(Reader& r, const std::string& line) {
  const size_t before = Reader::digest(r.screen());
  r.run(line);
  const bool marked = r.viewer().platform.take_screen_changed();
  EXPECT_TRUE(marked || Reader::digest(r.screen()) == before) << line << " changed the screen unmarked";
  return marked;
}

// Ticks until what a press or key left waiting has run: a list selection
// loads its preview a few ticks later, the picker redraws itself.
void settle(Reader& r) {
  for (int i = 0; i < 50; ++i) {
    const ViewerState& s = r.viewer().state;
    if (s.select_delay <= 0 && s.picker_redraw_ticks == 0 && s.repaint_request == 0 && s.folder_scan == 0 &&
        s.wrap_pause_ticks == 0)
      break;
    run_and_take_mark(r, "tick");
  }
  run_and_take_mark(r, "tick");
}

// Ticks that must leave the screen alone: none of them marks it.
void expect_idle(Reader& r, int ticks, const char* where) {
  for (int i = 0; i < ticks; ++i) EXPECT_FALSE(run_and_take_mark(r, "tick")) << where << ", tick " << i;
}

struct Book {
  fx::TempDir root;
  std::string folder = root / "book";
  Book() {
    fx::make_dirs(folder);
    // Larger than the screen at actual size, so the page scrolls.
    for (int i = 1; i <= 4; ++i)
      fx::write_jpeg(folder + "/p" + std::to_string(i) + ".jpg", 640, 960, {.number = i, .scan_like = true});
  }
};

TEST(ScreenChanged, a_viewer_left_alone_marks_nothing_in_the_browser_page_view_and_view_panel) {
  Book book;
  Reader r(book.root.path(), book.folder, true);
  EXPECT_TRUE(r.viewer().platform.take_screen_changed());  // the first screen is still to be shown
  settle(r);
  expect_idle(r, 30, "browser");
  EXPECT_TRUE(run_and_take_mark(r, "tap 100 244"));  // the second page is selected
  settle(r);
  expect_idle(r, 30, "browser after a tap");
  EXPECT_TRUE(run_and_take_mark(r, "tap 40 474"));  // a check box: the slide show, on and off
  EXPECT_TRUE(r.viewer().dialog.checked(ctl::slide_show_check));
  EXPECT_TRUE(run_and_take_mark(r, "tap 40 474"));
  // A control whose text changes redraws itself alone, without a paint.
  EXPECT_TRUE(run_and_take_mark(r, "text 1000 elsewhere"));
  expect_idle(r, 5, "browser after a control's change");

  EXPECT_TRUE(run_and_take_mark(r, "dblclick 1003"));
  settle(r);
  expect_idle(r, 30, "page view");

  EXPECT_TRUE(run_and_take_mark(r, "tap 240 620"));  // bottom middle: the view panel
  settle(r);
  ASSERT_TRUE(r.viewer().dialog.visible(ctl::page_slider));
  expect_idle(r, 30, "view panel");
}

// Whatever moves the screen by itself marks each step: smooth scrolling
// under a held key, the slide show's turns, a drag; a step that changes
// nothing may mark or not, but no change goes unmarked.
TEST(ScreenChanged, scrolling_the_slide_show_and_drags_mark_every_step_they_draw) {
  Book book;
  Reader r(book.root.path(), book.folder, true);
  r.viewer().state.SC_MODE = 1;  // smooth scrolling, as its check box in the settings panel sets it
  r.run("click 1034");           // the slide show, once a page is shown
  r.run("dblclick 1003");
  r.run("tick");
  r.viewer().platform.take_screen_changed();

  // A held arrow key scrolls a little further each tick.
  r.run("key down down");
  int marked = 0;
  for (int i = 0; i < 8; ++i) marked += run_and_take_mark(r, "tick");
  r.run("key down up");
  EXPECT_GE(marked, 6);
  EXPECT_GT(r.viewer().state.scroll_y, 0);

  // The slide show turns the page every SlideShow ticks.
  const int turns_before = r.viewer().state.page_index;
  int turn_marks = 0;
  for (int i = 0; i < 2 * r.viewer().state.SlideShow + 10; ++i) turn_marks += run_and_take_mark(r, "tick");
  EXPECT_NE(r.viewer().state.page_index, turns_before);
  EXPECT_GE(turn_marks, 2);

  // A drag over the page.
  r.run("down 200 300");
  for (int y = 290; y > 200; y -= 30) {
    run_and_take_mark(r, "move 200 " + std::to_string(y));
    run_and_take_mark(r, "tick");
  }
  run_and_take_mark(r, "up 200 200");
}

}  // namespace
}  // namespace zeb
