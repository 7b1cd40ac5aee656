// Bitmaps: allocation limits, fills, the stretching copy and image output.
#include <gtest/gtest.h>

#include <png.h>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string>

#include "tools/fixtures/fixtures.h"
#include "widgets/bitmap.h"

namespace zeb::platform {
namespace {

constexpr ColorRef kMarker = 0x00123456;

// A bitmap whose pixel (x, y) holds the colour x + 1000 * y, so a copied
// pixel tells where it came from.
std::unique_ptr<Bitmap> numbered(int w, int h) {
  auto b = Bitmap::create(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) b->set_pixel(x, y, static_cast<ColorRef>(x + 1000 * y));
  return b;
}

std::unique_ptr<Bitmap> marked(int w, int h) {
  auto b = Bitmap::create(w, h);
  fill_rect(*b, {0, 0, w, h}, kMarker);
  return b;
}

TEST(PlatformBitmap, create_refuses_sizes_it_cannot_hold) {
  EXPECT_EQ(Bitmap::create(0, 10), nullptr);
  EXPECT_EQ(Bitmap::create(10, -1), nullptr);
  EXPECT_EQ(Bitmap::create(1 << 15, (1 << 13) + 1), nullptr);  // just over the limit
  EXPECT_EQ(Bitmap::create(2147483647, 2147483647), nullptr);
  auto b = Bitmap::create(101, 3);
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(b->stride(), 304);
  for (int i = 0; i < b->stride() * b->height(); ++i) ASSERT_EQ(b->bits()[i], 0) << i;
}

TEST(PlatformBitmap, page_sized_bitmaps_are_zeroed_every_time) {
  // Rows too long for an int are refused even below the pixel limit.
  EXPECT_EQ(Bitmap::create(100'000'000, 1), nullptr);
  for (int round = 0; round < 3; ++round) {
    auto b = Bitmap::create(2481, 1000);  // over 4 MiB, an odd row length
    ASSERT_NE(b, nullptr);
    const size_t bytes = static_cast<size_t>(b->stride()) * b->height();
    EXPECT_EQ(b->stride(), 7444);
    EXPECT_EQ(std::count(b->bits(), b->bits() + bytes, 0), static_cast<std::ptrdiff_t>(bytes));
    std::memset(b->bits(), 0xFF, bytes);  // the next one must not see this
  }
}

TEST(PlatformBitmap, pixels_are_blue_green_red_and_rows_bottom_up) {
  auto b = Bitmap::create(4, 3);
  b->set_pixel(1, 0, 0x00CCBBAA);  // top row: the last row in memory
  const std::uint8_t* p = b->memory_row(2) + 3;
  EXPECT_EQ(p[0], 0xCC);
  EXPECT_EQ(p[2], 0xAA);
  b->set_pixel(4, 2, 1);  // outside: ignored
  EXPECT_EQ(b->pixel(4, 2), 0u);
}

TEST(PlatformBitmap, fill_rect_is_clipped_to_the_bitmap) {
  auto b = Bitmap::create(10, 10);
  fill_rect(*b, {-5, 8, 8, 100}, 0xFFFFFF);
  EXPECT_EQ(b->pixel(0, 8), 0xFFFFFFu);
  EXPECT_EQ(b->pixel(2, 9), 0xFFFFFFu);
  EXPECT_EQ(b->pixel(3, 9), 0u);
  EXPECT_EQ(b->pixel(0, 7), 0u);
  fill_rect(*b, {2147483000, 0, 2147483000, 5}, 1);  // far outside, no overflow
  fill_rect(*b, {0, 0, -3, 5}, 1);
  EXPECT_EQ(b->pixel(0, 0), 0u);
}

TEST(PlatformBitmap, mirrored_narrow_page_draws_only_where_the_source_exists) {
  // A 300-wide page copied one screen wide (480) and mirrored at x = 390.
  auto page = numbered(300, 4);
  auto screen = marked(480, 4);
  stretch_copy(*screen, 390, 0, -480, 4, *page, 0, 0, 480, 4);
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 480; ++x) {
      ColorRef want = (x >= 90 && x < 390) ? static_cast<ColorRef>(389 - x + 1000 * y) : kMarker;
      ASSERT_EQ(screen->pixel(x, y), want) << x << "," << y;
    }
  }
}

TEST(PlatformBitmap, vertical_mirror_and_source_clipped_above_the_bitmap) {
  auto page = numbered(3, 4);
  auto screen = marked(3, 8);
  // Source rows -2 .. 3: the first two lie above the page and draw nothing.
  stretch_copy(*screen, 0, 6, 3, -6, *page, 0, -2, 3, 6);
  for (int y = 0; y < 8; ++y) {
    ColorRef want = y < 4 ? static_cast<ColorRef>(1000 * (3 - y)) : kMarker;
    EXPECT_EQ(screen->pixel(0, y), want) << y;
  }
}

TEST(PlatformBitmap, stretch_scales_by_pixel_centres) {
  auto page = numbered(4, 2);
  auto screen = marked(8, 1);
  stretch_copy(*screen, 0, 0, 8, 1, *page, 0, 1, 4, 1);  // doubled
  for (int x = 0; x < 8; ++x) EXPECT_EQ(screen->pixel(x, 0), static_cast<ColorRef>(x / 2 + 1000));
  auto half = marked(2, 1);
  stretch_copy(*half, 0, 0, 2, 1, *page, 0, 0, 4, 2);  // halved: columns 1 and 3 of row 1
  EXPECT_EQ(half->pixel(0, 0), 1001u);
  EXPECT_EQ(half->pixel(1, 0), 1003u);
}

TEST(PlatformBitmap, stretch_destination_is_clipped_to_the_target) {
  auto page = numbered(20, 20);
  auto screen = marked(10, 10);
  // Scrolled page: source starts at (5, 5), destination hangs over every edge.
  stretch_copy(*screen, -3, -2, 20, 20, *page, 5, 5, 20, 20);
  EXPECT_EQ(screen->pixel(0, 0), static_cast<ColorRef>(8 + 1000 * 7));
  EXPECT_EQ(screen->pixel(9, 9), static_cast<ColorRef>(17 + 1000 * 16));
  // Source running past the right edge: columns beyond x = 19 stay untouched.
  auto edge = marked(10, 1);
  stretch_copy(*edge, 0, 0, 10, 1, *page, 15, 0, 10, 1);
  EXPECT_EQ(edge->pixel(4, 0), 19u);
  EXPECT_EQ(edge->pixel(5, 0), kMarker);
  // Huge extents neither overflow nor draw outside.
  stretch_copy(*edge, 2147483647, 0, -2147483647 - 1, 1, *page, -2147483647 - 1, 0, 2147483647, 1);
  stretch_copy(*edge, 0, 0, 0, 1, *page, 0, 0, 5, 1);
  EXPECT_EQ(edge->pixel(9, 0), kMarker);
}

TEST(PlatformBitmap, saves_ppm_and_png_with_red_first) {
  fixtures::TempDir dir;
  auto b = Bitmap::create(2, 2);
  b->set_pixel(0, 0, 0x000000FF);  // red
  b->set_pixel(1, 1, 0x00FF0000);  // blue
  ASSERT_TRUE(save_ppm(*b, dir / "s.ppm"));
  std::string ppm = fixtures::read_file(dir / "s.ppm");
  EXPECT_EQ(ppm, std::string("P6\n2 2\n255\n\xFF\0\0\0\0\0\0\0\0\0\0\xFF", 23));

  ASSERT_TRUE(save_png(*b, dir / "s.png"));
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  ASSERT_TRUE(png_image_begin_read_from_file(&image, (dir / "s.png").c_str()));
  image.format = PNG_FORMAT_RGB;
  std::uint8_t rgb[12] = {};
  ASSERT_TRUE(png_image_finish_read(&image, nullptr, rgb, 0, nullptr));
  EXPECT_EQ(image.width, 2u);
  EXPECT_EQ(rgb[0], 0xFF);
  EXPECT_EQ(rgb[11], 0xFF);
  EXPECT_EQ(rgb[9], 0);

  EXPECT_FALSE(save_png(*b, dir / "missing/s.png"));
  EXPECT_FALSE(save_ppm(*b, dir.path()));  // a folder
}

}  // namespace
}  // namespace zeb::platform
