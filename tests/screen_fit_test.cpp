// Where the screen stands in a window of any size and turn, and where a
// press in the window lands on the screen.
#include <gtest/gtest.h>

#include "frontend/sdl/screen_fit.h"

namespace zeb::sdl {
namespace {

TEST(ScreenFit, first_window_is_the_largest_that_fits_or_the_exact_scale_asked) {
  EXPECT_EQ(first_window_size({1920, 1080}, 0, 0).h, 1080);
  EXPECT_EQ(first_window_size({1920, 1080}, 0, 0).w, 810);
  EXPECT_EQ(first_window_size({1280, 1024}, 0, 2).h, 1024);  // 2 does not fit: the largest that does
  EXPECT_EQ(first_window_size({1280, 1024}, 0, 1).w, 480);
  EXPECT_EQ(first_window_size({2000, 2000}, 0, 3).h, 1920);
  EXPECT_EQ(first_window_size({640, 480}, 90, 0).w, 640);
  EXPECT_EQ(first_window_size({640, 480}, 90, 0).h, 480);
  // A display too small for any sensible size still gets a usable window.
  EXPECT_EQ(first_window_size({0, 0}, 0, 0).w, 120);
}

TEST(ScreenFit, screen_is_centred_with_its_aspect_and_whole_scales_stay_exact) {
  const ScreenFit wide({1920, 1080}, 0);
  EXPECT_DOUBLE_EQ(wide.scale(), 1080.0 / 640);
  EXPECT_FALSE(wide.integer_scale());
  EXPECT_EQ(wide.h(), 1080);
  EXPECT_EQ(wide.w(), 810);
  EXPECT_EQ(wide.x(), (1920 - 810) / 2);
  EXPECT_EQ(wide.y(), 0);

  const ScreenFit doubled({1000, 1280}, 0);
  EXPECT_TRUE(doubled.integer_scale());
  EXPECT_EQ(doubled.w(), 960);
  EXPECT_EQ(doubled.h(), 1280);
  EXPECT_EQ(doubled.x(), 20);
  EXPECT_EQ(doubled.y(), 0);

  const ScreenFit turned({640, 480}, 90);
  EXPECT_TRUE(turned.integer_scale());
  EXPECT_EQ(turned.x(), 0);
  EXPECT_EQ(turned.w(), 640);
  EXPECT_EQ(turned.h(), 480);
}

TEST(ScreenFit, presses_land_on_the_pixel_drawn_under_them_in_every_turn) {
  for (int turn : {0, 90, 180, 270}) {
    for (Size window : {Size{480, 640}, Size{640, 480}, Size{1920, 1080}, Size{1280, 1024}, Size{333, 777}}) {
      const ScreenFit fit(window, turn);
      for (auto [sx, sy] : {std::pair{0, 0}, {479, 0}, {0, 639}, {479, 639}, {470, 500}, {123, 456}}) {
        double wx = 0, wy = 0;
        fit.to_window(sx, sy, wx, wy);
        int bx = -1, by = -1;
        EXPECT_TRUE(fit.to_screen(wx, wy, bx, by)) << turn;
        if (fit.scale() >= 1) {
          EXPECT_EQ(bx, sx) << "turn " << turn << " window " << window.w << "x" << window.h;
          EXPECT_EQ(by, sy) << "turn " << turn << " window " << window.w << "x" << window.h;
        }
      }
    }
  }
}

TEST(ScreenFit, a_quarter_turn_puts_the_screen_top_on_the_right) {
  const ScreenFit fit({640, 480}, 90);
  int sx = 0, sy = 0;
  EXPECT_TRUE(fit.to_screen(639.5, 0.5, sx, sy));
  EXPECT_EQ(sx, 0);
  EXPECT_EQ(sy, 0);
  EXPECT_TRUE(fit.to_screen(0.5, 479.5, sx, sy));
  EXPECT_EQ(sx, 479);
  EXPECT_EQ(sy, 639);
  // The lower right edge, where a tap turns the page, is on the lower left.
  EXPECT_TRUE(fit.to_screen(139.5, 470.5, sx, sy));
  EXPECT_EQ(sx, 470);
  EXPECT_EQ(sy, 500);
}

TEST(ScreenFit, presses_beside_the_screen_are_reported_with_the_nearest_pixel) {
  const ScreenFit fit({1920, 1080}, 0);
  int sx = 0, sy = 0;
  EXPECT_FALSE(fit.to_screen(10, 500, sx, sy));
  EXPECT_EQ(sx, 0);
  EXPECT_FALSE(fit.to_screen(1900, 1079.9, sx, sy));
  EXPECT_EQ(sx, 479);
  EXPECT_EQ(sy, 639);
}

TEST(ScreenFit, turned_copy_moves_every_pixel_where_the_turn_puts_it) {
  auto screen = platform::Bitmap::create(480, 640);
  ASSERT_TRUE(screen);
  for (int y = 0; y < 640; ++y)
    for (int x = 0; x < 480; ++x) {
      std::uint8_t* p = screen->picture_row(y) + x * 3;
      p[0] = static_cast<std::uint8_t>(x), p[1] = static_cast<std::uint8_t>(y), p[2] = static_cast<std::uint8_t>(x ^ y);
    }
  for (int turn : {0, 90, 180, 270}) {
    const Size s = turned_screen(turn);
    std::vector<unsigned char> out(static_cast<size_t>(s.w) * 3 * s.h);
    copy_turned(*screen, turn, out.data(), s.w * 3);
    const ScreenFit fit(s, turn);
    for (auto [u, v] : {std::pair{0, 0}, {s.w - 1, 0}, {0, s.h - 1}, {s.w - 1, s.h - 1}, {77, 311}}) {
      int sx = 0, sy = 0;
      ASSERT_TRUE(fit.to_screen(u + 0.5, v + 0.5, sx, sy));
      const unsigned char* got = &out[(static_cast<size_t>(v) * s.w + u) * 3];
      const std::uint8_t* want = screen->picture_row(sy) + sx * 3;
      EXPECT_EQ(std::vector<int>(got, got + 3), std::vector<int>(want, want + 3)) << "turn " << turn;
    }
  }
}

}  // namespace
}  // namespace zeb::sdl
