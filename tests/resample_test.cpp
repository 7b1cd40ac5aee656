// The view bitmap against a plain per-pixel reading of the box and turn
// rules, and the known sizes and pixel mappings.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

#include "core/services.h"
#include "view/resample.h"
#include "view/view_builder.h"

namespace zeb {
namespace {

using platform::Bitmap;

// A page whose picture bytes are pseudo-random, so any wrong pixel in a box
// shows in its average.
// Bits set in `lit` are set in every byte.
std::unique_ptr<Bitmap> noise_page(int width, int height, unsigned seed = 7, std::uint8_t lit = 0) {
  auto page = Bitmap::create(width, height);
  std::uint32_t x = seed;
  for (int r = 0; r < height; ++r) {
    std::uint8_t* row = page->memory_row(r);
    for (int i = 0; i < width * 3; ++i) {
      x = x * 1664525u + 1013904223u;
      row[i] = static_cast<std::uint8_t>(x >> 24) | lit;
    }
  }
  return page;
}

// Byte `ch` of the page pixel at memory row r, column c of the W x H picture
// at the top left of the bitmap.
int src(const Bitmap& page, int H, int r, int c, int ch) {
  return page.memory_row(r + page.height() - H)[3 * c + ch];
}

// Straightforward reading of the rules: a fresh float bound per pixel,
// source positions past the page skipped.
std::unique_ptr<Bitmap> reference(const Bitmap& page, int W, int H, int tw, int th, int rotate, int rsc,
                                  int wide) {
  const ResampleSize size = resample_size(W, H, tw, th, rotate, rsc);
  const int vw = (size.width + 1) / 8 * 8, vh = (size.height + 1) / 8 * 8;
  auto out = Bitmap::create(vw, vh);
  if (!out) return nullptr;
  for (int y = 0; y <= vh - 3; ++y) {
    for (int x = 0; x <= vw - 3; ++x) {
      int r0, c0;
      float rb, cb;
      if (!size.turned) {
        const float sy = static_cast<float>(H) / static_cast<float>(vh);
        const float sx = static_cast<float>(W) / static_cast<float>(vw);
        r0 = static_cast<int>(static_cast<float>(y) * sy);
        c0 = static_cast<int>(static_cast<float>(x) * sx);
        rb = static_cast<float>(y + 1) * sy;
        cb = static_cast<float>(x + 1) * sx;
      } else {
        const float tx = static_cast<float>(W) / static_cast<float>(vh);
        const float ty = static_cast<float>(H) / static_cast<float>(vw);
        const int k = vw - 2 - x;
        c0 = static_cast<int>(static_cast<float>(y) * tx);
        r0 = static_cast<int>(static_cast<float>(k) * ty);
        cb = static_cast<float>(y + 1) * tx;
        rb = static_cast<float>(k + 1) * ty;
      }
      const bool same = size.turned ? (vw == (H + 1) / 8 * 8 && vh == (W + 1) / 8 * 8)
                                    : (vh == (H + 1) / 8 * 8 && vw == (W + 1) / 8 * 8);
      std::uint8_t* d = out->memory_row(y) + 3 * x;
      if (same) {
        // The unturned copy takes the pixel at its own position, the turn
        // the first pixel of its box.
        const int r = size.turned ? r0 : y, c = size.turned ? c0 : x;
        for (int ch = 0; ch < 3; ++ch) d[ch] = static_cast<std::uint8_t>(src(page, H, r, c, ch));
        continue;
      }
      if (wide) {
        rb = rb + 1.0f;
        cb = cb + 1.0f;
      }
      long sum[3] = {0, 0, 0};
      long n = 0;
      for (int r = r0; wide ? static_cast<float>(r) <= rb : static_cast<float>(r) < rb; ++r) {
        for (int c = c0; wide ? static_cast<float>(c) <= cb : static_cast<float>(c) < cb; ++c) {
          if (r >= H || c >= W) continue;
          for (int ch = 0; ch < 3; ++ch) sum[ch] += src(page, H, r, c, ch);
          ++n;
        }
      }
      for (int ch = 0; ch < 3; ++ch) d[ch] = static_cast<std::uint8_t>(sum[ch] / n);
    }
  }
  return out;
}

bool same_bytes(const Bitmap& a, const Bitmap& b) {
  return a.width() == b.width() && a.height() == b.height() &&
         std::memcmp(a.bits(), b.bits(), static_cast<size_t>(a.stride()) * a.height()) == 0;
}

struct Case {
  int W, H, tw, th, rotate, rsc, wide;
};

TEST(Resample, matches_per_pixel_rules_on_odd_pages) {
  const Case cases[] = {
      {37, 53, 17, 23, 0, 0, 0},   // shrink
      {37, 53, 17, 23, 0, 0, 1},   // shrink, wide boxes
      {101, 67, 40, 31, 0, 0, 0},  // shrink, no side rounded up
      {37, 53, 47, 31, 1, 0, 0},   // turn and shrink
      {37, 53, 47, 31, 1, 0, 1},   // turn and shrink, wide
      {13, 9, 47, 71, 1, 0, 0},    // turn and enlarge
      {13, 9, 47, 71, 1, 0, 1},    // turn and enlarge, wide boxes reach past the page
      {33, 29, 45, 33, 1, 0, 1},   // turn, wider than the page is high, wide boxes
      {55, 39, 39, 55, 1, 0, 0},   // same-size turn
      {39, 55, 39, 55, 0, 0, 1},   // same-size copy (the wide filter is not used)
      {45, 30, 60, 30, 0, 1, 1},   // auto-rotated by RSC
      {61, 43, 200, 200, 0, 0, 0}, // cut to the page: same-size copy
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.W << "x" << c.H << " -> " << c.tw << "x" << c.th << " rotate "
                                    << c.rotate << " RSC " << c.rsc << " wide " << c.wide);
    auto page = noise_page(c.W, c.H);
    ResampleResult got = resample(*page, c.W, c.H, c.tw, c.th, c.rotate, c.rsc, c.wide);
    auto want = reference(*page, c.W, c.H, c.tw, c.th, c.rotate, c.rsc, c.wide);
    ASSERT_TRUE(got.bitmap && want);
    EXPECT_EQ(got.width, want->width());
    EXPECT_EQ(got.height, want->height());
    EXPECT_TRUE(same_bytes(*got.bitmap, *want));
  }
}

// Boxes tall enough to overflow 16-bit column sums of white pixels, and
// boxes of 2^16 pixels and more, on bright pages.
TEST(Resample, matches_per_pixel_rules_with_large_boxes) {
  const Case cases[] = {
      {40, 2064, 8, 8, 0, 0, 0},    // 5 x 258 boxes: 258 white pixels pass 65535
      {40, 3000, 8, 8, 0, 0, 1},    // 7 x 377 wide boxes
      {3000, 40, 8, 8, 1, 0, 0},    // the same turned
      {2100, 2100, 8, 8, 0, 0, 0},  // 262 x 262 boxes
      {2100, 2100, 8, 8, 1, 0, 1},  // turned, wide
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.W << "x" << c.H << " -> " << c.tw << "x" << c.th << " rotate "
                                    << c.rotate << " wide " << c.wide);
    auto page = noise_page(c.W, c.H, 11, c.H == 2064 ? 0xFF : 0xE0);
    ResampleResult got = resample(*page, c.W, c.H, c.tw, c.th, c.rotate, c.rsc, c.wide);
    auto want = reference(*page, c.W, c.H, c.tw, c.th, c.rotate, c.rsc, c.wide);
    ASSERT_TRUE(got.bitmap && want);
    EXPECT_TRUE(same_bytes(*got.bitmap, *want));
  }
}

// The view builder fed as a decoder writes the page: rows arrive from the
// top, `chunk` at a time, into a bitmap that held nothing before (a padded
// one, as greyscale pages have, for some cases). A line averaged before all
// its rows were written would read the zeros and differ from the rules.
TEST(Resample, view_built_while_rows_arrive_matches_per_pixel_rules) {
  const Case cases[] = {
      {37, 53, 17, 23, 0, 0, 0},     {37, 53, 17, 23, 0, 0, 1}, {101, 67, 40, 31, 0, 0, 0},
      {37, 53, 30, 20, 1, 0, 0},     {37, 53, 30, 20, 1, 0, 1}, {13, 9, 47, 71, 1, 0, 1},
      {33, 29, 45, 33, 1, 0, 1},     {45, 30, 60, 30, 0, 1, 1}, {300, 400, 240, 320, 0, 0, 0},
      {400, 300, 480, 640, 1, 0, 1},
  };
  for (const Case& c : cases) {
    for (const int chunk : {1, 3, 64}) {
      const int pad = chunk == 3 ? 8 : 0;
      SCOPED_TRACE(testing::Message() << c.W << "x" << c.H << " -> " << c.tw << "x" << c.th << " rotate " << c.rotate
                                      << " wide " << c.wide << " chunk " << chunk);
      auto page = noise_page(c.W, c.H, 5);
      auto decoding = Bitmap::create(c.W + pad, c.H + pad);
      auto builder = ViewBuilder::start(*decoding, ViewRequest{c.W, c.H, c.tw, c.th, c.rotate, c.rsc, c.wide});
      ASSERT_TRUE(builder);
      for (int y = 0; y < c.H; ++y) {
        std::memcpy(decoding->picture_row(y), page->picture_row(y), static_cast<size_t>(c.W) * 3);
        if ((y + 1) % chunk == 0) builder->rows_final(y + 1);
      }
      ResampleResult got = builder->finish();
      auto want = reference(*page, c.W, c.H, c.tw, c.th, c.rotate, c.rsc, c.wide);
      ASSERT_TRUE(got.bitmap && want);
      EXPECT_EQ(got.auto_rotated, c.rsc && !c.rotate ? 1 : 0);
      EXPECT_TRUE(same_bytes(*got.bitmap, *want));
      // An unturned view shared by two threads: its lines in any order, each
      // thread with sums of its own.
      auto shared = ViewBuilder::start(*decoding, ViewRequest{c.W, c.H, c.tw, c.th, c.rotate, c.rsc, c.wide});
      if (chunk != 1 || !shared->can_share()) continue;
      for (int k = shared->line_count() - 1; k >= 0; --k) shared->average_shared(k, k % 2);
      EXPECT_TRUE(same_bytes(*shared->take_shared().bitmap, *want));
    }
  }
  // Same-size copies and turns need no box: they are left to the resampler.
  auto page = noise_page(55, 39);
  EXPECT_FALSE(ViewBuilder::start(*page, ViewRequest{55, 39, 39, 55, 1, 0, 0}));
  EXPECT_FALSE(ViewBuilder::start(*page, ViewRequest{55, 39, 55, 39, 0, 0, 1}));
}

TEST(Resample, size_table_and_side_rounding) {
  // RSC turns results at least as wide as high, square ones included.
  ResampleSize s = resample_size(1000, 1000, 800, 600, 0, 1);
  EXPECT_TRUE(s.turned);
  EXPECT_EQ(s.width, 600);
  EXPECT_EQ(s.height, 800);
  EXPECT_EQ(s.auto_rotated, 1);
  EXPECT_TRUE(resample_size(1000, 1000, 600, 600, 0, 1).turned);
  // RSC drops an asked-for turn whose result would not be wider than high.
  s = resample_size(700, 500, 600, 800, 1, 1);
  EXPECT_FALSE(s.turned);
  EXPECT_EQ(s.width, 700);
  EXPECT_EQ(s.height, 500);
  EXPECT_EQ(s.auto_rotated, 0);
  // Unturned results are cut to the page side by side; turned ones are not.
  s = resample_size(1200, 1600, 2000, 1000, 0, 0);
  EXPECT_EQ(s.width, 1200);
  EXPECT_EQ(s.height, 1000);
  s = resample_size(100, 80, 640, 480, 1, 0);
  EXPECT_EQ(s.width, 640);
  EXPECT_EQ(s.height, 480);

  EXPECT_EQ(view_side(239), 240);
  EXPECT_EQ(view_side(238), 232);
  EXPECT_EQ(view_side(7), 8);
  EXPECT_EQ(view_side(6), 0);
  EXPECT_EQ(view_side(-9), 0);
}

// Average of the page's picture rows r0.. and columns c0.. over n x n pixels.
int box_mean(const Bitmap& page, int r0, int c0, int n, int ch) {
  int sum = 0;
  for (int r = r0; r < r0 + n; ++r)
    for (int c = c0; c < c0 + n; ++c) sum += page.memory_row(r)[3 * c + ch];
  return sum / (n * n);
}

TEST(Resample, quarter_size_uses_five_pixel_boxes_and_seven_with_wide_filter) {
  auto page = noise_page(1200, 1600, 3);
  for (int wide = 0; wide <= 1; ++wide) {
    SCOPED_TRACE(wide ? "wide" : "normal");
    ResampleResult r = resample(*page, 1200, 1600, 240, 320, 0, 0, wide);
    ASSERT_TRUE(r.bitmap);
    ASSERT_EQ(r.width, 240);
    ASSERT_EQ(r.height, 320);
    const int n = wide ? 7 : 5;
    for (int y : {0, 1, 150, 317}) {
      for (int x : {0, 99, 237}) {
        for (int ch = 0; ch < 3; ++ch) EXPECT_EQ(r.bitmap->memory_row(y)[3 * x + ch], box_mean(*page, 5 * y, 5 * x, n, ch));
      }
    }
    // The top two rows and the right two columns stay black.
    for (int x = 0; x < 240; ++x) {
      EXPECT_EQ(r.bitmap->pixel(x, 0), 0u);
      EXPECT_EQ(r.bitmap->pixel(x, 1), 0u);
    }
    for (int y = 0; y < 320; ++y) {
      EXPECT_EQ(r.bitmap->pixel(238, y), 0u);
      EXPECT_EQ(r.bitmap->pixel(239, y), 0u);
    }
  }
}

TEST(Resample, page_of_rounded_size_is_copied_pixel_for_pixel) {
  auto page = noise_page(1203, 900, 5);
  ResampleResult r = resample(*page, 1203, 900, 1203, 900, 0, 0, 0);
  ASSERT_TRUE(r.bitmap);
  EXPECT_EQ(r.width, 1200);
  EXPECT_EQ(r.height, 896);
  for (int y = 0; y < 896; ++y) {
    const bool computed = y <= 893;
    EXPECT_EQ(std::memcmp(r.bitmap->memory_row(y), page->memory_row(y), 1198 * 3) == 0, computed) << y;
  }
  EXPECT_EQ(r.bitmap->memory_row(100)[3 * 1198], 0);
}

TEST(Resample, quarter_turn_shows_the_right_edge_on_top_shifted_one_row) {
  auto page = noise_page(600, 800, 9);
  ResampleResult r = resample(*page, 600, 800, 800, 600, 1, 0, 0);
  ASSERT_TRUE(r.bitmap);
  ASSERT_EQ(r.width, 800);
  ASSERT_EQ(r.height, 600);
  for (int Y = 0; Y < 600; Y += 7) {
    for (int X = 0; X < 800; X += 3) {
      const platform::ColorRef want = (X <= 797 && Y >= 2) ? page->pixel(599 - Y, X + 1) : 0u;
      ASSERT_EQ(r.bitmap->pixel(X, Y), want) << X << "," << Y;
    }
  }
}

TEST(Resample, padded_bitmap_uses_the_picture_at_its_top_left) {
  // A greyscale page's bitmap is padded to the right and at the bottom.
  auto page = noise_page(51, 37, 11);
  auto padded = Bitmap::create(56, 40);
  for (int y = 0; y < 37; ++y) std::memcpy(padded->picture_row(y), page->picture_row(y), 51 * 3);
  for (int turn = 0; turn <= 1; ++turn) {
    ResampleResult a = resample(*page, 51, 37, 30, 20, turn, 0, 1);
    ResampleResult b = resample(*padded, 51, 37, 30, 20, turn, 0, 1);
    ASSERT_TRUE(a.bitmap && b.bitmap);
    EXPECT_TRUE(same_bytes(*a.bitmap, *b.bitmap)) << turn;
  }
}

TEST(Resample, small_or_missing_pages_give_no_view_bitmap) {
  auto page = noise_page(40, 40);
  ResampleResult r = resample(*page, 40, 40, 6, 30, 0, 0, 0);
  EXPECT_FALSE(r.bitmap);
  EXPECT_EQ(r.width, 0);

  platform::Platform p;
  Viewer v(p);
  v.state.RSC = 1;
  v.window.page_width = 800;
  v.window.page_height = 600;
  v.window.view_width = 123;
  resample_page(v, 800, 600, 0);
  EXPECT_EQ(v.state.auto_rotated, 1);
  EXPECT_FALSE(v.window.view_bitmap);
  EXPECT_EQ(v.window.view_width, 123);

  v.window.page_bitmap = noise_page(800, 600);
  resample_page(v, 800, 600, 0);
  ASSERT_TRUE(v.window.view_bitmap);
  EXPECT_EQ(v.window.view_width, 600);
  EXPECT_EQ(v.window.view_height, 800);
}

}  // namespace
}  // namespace zeb
