// The main window's paint on the screen bitmap: page view margins,
// mirroring and zoom window, the browser's thumbnail, the picker.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/controls.h"
#include "core/control_ids.h"
#include "core/services.h"
#include "tests/harness.h"
#include "tools/fixtures/fixtures.h"
#include "view/paint.h"

namespace zeb {
namespace {

using platform::Bitmap;
using platform::ColorRef;

constexpr ColorRef kWhite = 0xFFFFFF;
constexpr ColorRef kGrey = 0x808080;

// Each pixel's colour tells its position: red holds the low bits of x, blue
// those of y, green their high bits (and is never 0).
ColorRef position_colour(int x, int y) {
  const int green = 0x80 | (x >> 8) | ((y >> 8) << 2);
  return static_cast<ColorRef>((x & 0xFF) | (green << 8) | ((y & 0xFF) << 16));
}

std::unique_ptr<Bitmap> position_page(int w, int h) {
  auto page = Bitmap::create(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) page->set_pixel(x, y, position_colour(x, y));
  return page;
}

struct Render : ::testing::Test {
  platform::Platform p;
  Viewer v{p};
  Bitmap& screen = *p.screen;
  void SetUp() override {
    create_controls(v);
    platform::fill_rect(screen, {0, 0, 480, 640}, kGrey);
  }
  void view_page(int w, int h) {
    v.window.page_bitmap = position_page(w, h);
    v.window.page_width = w;
    v.window.page_height = h;
    v.state.viewing = 1;
  }
};

TEST_F(Render, narrow_page_is_centred_on_black_and_mirrored_in_place) {
  view_page(300, 640);
  v.state.scroll_x = kFarEnd;
  paint(v);
  EXPECT_EQ(v.state.scroll_x, 0);
  for (int y : {0, 333, 639}) {
    EXPECT_EQ(screen.pixel(0, y), 0u);
    EXPECT_EQ(screen.pixel(89, y), 0u);
    EXPECT_EQ(screen.pixel(390, y), 0u);
    EXPECT_EQ(screen.pixel(479, y), 0u);
    for (int x : {0, 150, 299}) EXPECT_EQ(screen.pixel(90 + x, y), position_colour(x, y));
  }
  platform::fill_rect(screen, {0, 0, 480, 640}, kGrey);
  v.state.lr_mir = -1;
  paint(v);
  for (int y : {0, 333, 639}) {
    EXPECT_EQ(screen.pixel(89, y), 0u);
    EXPECT_EQ(screen.pixel(390, y), 0u);
    for (int x : {0, 150, 299}) EXPECT_EQ(screen.pixel(90 + x, y), position_colour(299 - x, y));
  }
}

TEST_F(Render, zoom_shows_a_clamped_window_of_the_page) {
  view_page(480, 640);
  paint(v);
  EXPECT_EQ(v.state.scroll_x, 0);
  EXPECT_EQ(v.state.scroll_y, 0);
  EXPECT_EQ(screen.pixel(479, 639), position_colour(479, 639));

  v.state.zoom = 2.0f;
  v.state.scroll_x = kFarEnd;
  v.state.scroll_y = 100;
  paint(v);
  EXPECT_EQ(v.state.scroll_x, 480);
  EXPECT_EQ(v.state.scroll_y, 100);
  // Source window (240, 50, 240, 320), each page pixel shown 2 x 2.
  for (int y : {0, 1, 300, 639})
    for (int x : {0, 1, 241, 479}) EXPECT_EQ(screen.pixel(x, y), position_colour(240 + x / 2, 50 + y / 2));

  // Mirrored both ways, the shown window is flipped on the screen.
  v.state.lr_mir = v.state.ud_mir = -1;
  paint(v);
  EXPECT_EQ(screen.pixel(0, 0), position_colour(479, 369));
  EXPECT_EQ(screen.pixel(479, 639), position_colour(240, 50));
}

TEST_F(Render, view_bitmap_is_shown_when_the_mode_resamples) {
  view_page(480, 640);
  v.window.view_bitmap = position_page(240, 320);
  v.window.view_width = 240;
  v.window.view_height = 320;
  v.state.v_mode = 1;
  v.state.mode_scale = 2.0f;
  paint(v);
  EXPECT_EQ(screen.pixel(101, 201), position_colour(50, 100));
  // A missing shown bitmap draws nothing at all.
  v.window.view_bitmap.reset();
  platform::fill_rect(screen, {0, 0, 480, 640}, kGrey);
  paint(v);
  EXPECT_EQ(screen.pixel(0, 0), kGrey);
  EXPECT_EQ(screen.pixel(240, 320), kGrey);
}

TEST_F(Render, browser_shows_the_thumbnail_in_its_box) {
  v.state.bg_color = kWhite;
  v.window.page_bitmap = position_page(200, 150);
  v.window.page_width = 200;
  v.window.page_height = 150;
  paint(v);
  // Box (266, 360, 240, 240); the preview fills 106 x 79 units at oy = 13.
  EXPECT_EQ(screen.pixel(10, 10), kWhite);
  EXPECT_EQ(screen.pixel(265, 400), kWhite);
  EXPECT_EQ(screen.pixel(266, 360), 0u);
  EXPECT_EQ(screen.pixel(300, 385), 0u);
  EXPECT_EQ(screen.pixel(478, 400), 0u);  // right of the 212-pixel-wide preview
  EXPECT_EQ(screen.pixel(300, 544), 0u);  // below its 158 rows
  EXPECT_EQ(screen.pixel(266, 386), position_colour(0, 0));
  EXPECT_EQ(screen.pixel(477, 543), position_colour(199, 149));

  v.state.settings_open = 1;
  paint(v);
  EXPECT_EQ(screen.pixel(300, 400), kWhite);
}

TEST_F(Render, picker_draws_each_cell_in_its_selected_look) {
  v.window.picker_on_bitmap = Bitmap::create(60, 100);
  v.window.picker_off_bitmap = Bitmap::create(60, 100);
  platform::fill_rect(*v.window.picker_on_bitmap, {0, 0, 60, 100}, 0x0000FF);
  platform::fill_rect(*v.window.picker_off_bitmap, {0, 0, 60, 100}, 0x00FF00);
  v.state.picker_redraw_ticks = 3;
  v.state.r_top = 1;  // right
  v.state.u_top = 1;  // bottom
  v.state.lr_mir = -1;
  v.state.ud_lop = 1;
  const platform::Rect at{360, 372, 120, 200};
  v.dialog.move(ctl::picker, at);
  v.dialog.show(ctl::picker, false);
  paint(v);
  EXPECT_EQ(v.state.picker_redraw_ticks, 0);
  EXPECT_EQ(screen.pixel(at.x + 1, at.y + 1), kGrey);  // a hidden picker is not drawn
  v.dialog.show(ctl::picker, true);
  v.state.picker_redraw_ticks = 4;
  paint(v);
  EXPECT_EQ(screen.pixel(0, 0), kGrey);  // the page area is left alone
  const bool want_on[5][3] = {{false, false, false}, {false, false, false}, {false, false, true},
                              {true, false, true},   {false, true, false}};
  for (int row = 0; row < 5; ++row) {
    for (int column = 0; column < 3; ++column) {
      const ColorRef want = want_on[row][column] ? 0x0000FFu : 0x00FF00u;
      EXPECT_EQ(screen.pixel(at.x + 40 * column + 1, at.y + 40 * row + 38), want) << column << "," << row;
    }
  }
}

// End to end through the script front end: a book of one page, a
// configuration, and a screenshot of what the viewer shows.
struct Shot {
  int status = -1;
  nlohmann::json state;
  std::vector<unsigned char> rgb;  // 480 x 640, top row first
  bool black(int x, int y) const { return at(x, y) == 0; }
  unsigned at(int x, int y) const {
    const unsigned char* p = &rgb[3 * (static_cast<size_t>(y) * 480 + x)];
    return p[0] << 16 | p[1] << 8 | p[2];
  }
};

// The configuration lines in order up to lr_mir, then ud_mir.
std::string config(int v_mode, int text1, int lr_mir) {
  return "x=0\r\nx=0\r\nLastDir=\\\r\nv_mode=" + std::to_string(v_mode) +
         "\r\nud_lop=0\r\nlr_lop=0\r\nr_top=1\r\nu_top=0\r\nv_left=0\r\nText1=" + std::to_string(text1) +
         "\r\nText2=320\r\nlr_mir=" + std::to_string(lr_mir) + "\r\nud_mir=1\r\n";
}

// Opens the book's one page (in the page view unless browse) and shoots it.
Shot shoot(int page_w, int page_h, const std::string& cfg, bool browse = false) {
  fixtures::TempDir root, settings;
  fixtures::make_dirs(root / "book");
  fixtures::write_jpeg(root / "book/p.jpg", page_w, page_h);
  fixtures::make_dirs(settings / "ZEB_CFG");
  fixtures::write_file(settings / "ZEB_CFG/zeb.cfg", cfg);
  const std::string file = root / "shot.ppm";
  const std::string open = browse ? "" : "ok\ntick 2\n";
  auto run = zeb::testing::run_script(root.path(), settings.path(),
                                 "select 1003 0\ntick 7\n" + open + "state\nshot " + file + "\n", {root / "book"});
  Shot shot;
  shot.status = run.status;
  shot.state = run.last_state();
  const std::string ppm = fixtures::read_file(file);
  const std::string header = "P6\n480 640\n255\n";
  if (ppm.size() == header.size() + 480 * 640 * 3 && ppm.compare(0, header.size(), header) == 0)
    shot.rgb.assign(ppm.begin() + static_cast<long>(header.size()), ppm.end());
  return shot;
}

TEST(RenderScript, narrow_page_has_black_margins_and_mirrors_between_them) {
  const Shot plain = shoot(300, 640, config(0, 240, 1));
  const Shot mirrored = shoot(300, 640, config(0, 240, -1));
  ASSERT_EQ(plain.rgb.size(), 480u * 640 * 3);
  ASSERT_EQ(mirrored.rgb.size(), 480u * 640 * 3);
  EXPECT_EQ(mirrored.state["scroll_x"], 0);
  for (int y = 0; y < 640; y += 13) {
    for (int x : {0, 89, 390, 479}) {
      EXPECT_TRUE(plain.black(x, y)) << x << "," << y;
      EXPECT_TRUE(mirrored.black(x, y)) << x << "," << y;
    }
    EXPECT_FALSE(plain.black(90, y));
    for (int x = 0; x < 300; ++x) ASSERT_EQ(mirrored.at(90 + x, y), plain.at(389 - x, y)) << x << "," << y;
  }
}

TEST(RenderScript, doubled_width_shows_the_right_half_of_the_page_at_twice_the_size) {
  const Shot plain = shoot(480, 640, config(0, 240, 1));
  // Mode 1 asks for a width of 960: the view bitmap stays page-sized and
  // drawing doubles it; the start position is the right end.
  const Shot zoomed = shoot(480, 640, config(1, 960, 1));
  ASSERT_EQ(zoomed.rgb.size(), 480u * 640 * 3);
  EXPECT_FLOAT_EQ(zoomed.state["mode_scale"].get<float>(), 2.0f);
  EXPECT_EQ(zoomed.state["scroll_x"], 480);
  EXPECT_EQ(zoomed.state["scroll_y"], 0);
  // The view bitmap's top two rows and right two columns are black.
  EXPECT_TRUE(zoomed.black(200, 3));
  EXPECT_TRUE(zoomed.black(476, 300));
  for (int y = 4; y < 640; y += 7)
    for (int x = 0; x < 476; x += 5) ASSERT_EQ(zoomed.at(x, y), plain.at(240 + x / 2, y / 2)) << x << "," << y;
}

TEST(RenderScript, browser_thumbnail_sits_in_its_black_box) {
  const Shot shot = shoot(1600, 1200, config(0, 240, 1), true);
  ASSERT_EQ(shot.rgb.size(), 480u * 640 * 3);
  EXPECT_EQ(shot.state["page_width"], 200);
  // Box (266, 360, 240, 240); preview 212 x 158 pixels at (266, 386).
  EXPECT_EQ(shot.at(262, 380), 0xFFFFFFu);
  EXPECT_TRUE(shot.black(267, 366));
  EXPECT_TRUE(shot.black(400, 385));
  EXPECT_TRUE(shot.black(400, 544));
  EXPECT_TRUE(shot.black(478, 450));
  EXPECT_FALSE(shot.black(266, 386));
  EXPECT_FALSE(shot.black(477, 543));
}

}  // namespace
}  // namespace zeb
