#pragma once
// 24-bit device-independent bitmaps: pixels in blue, green, red byte order,
// rows stored bottom-up (memory row 0 is the bottom row of the picture), each
// row padded to a multiple of 4 bytes. The 480 x 640 screen is one as well.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace zeb::platform {

struct Rect {
  int x = 0, y = 0, w = 0, h = 0;
  bool contains(int px, int py) const { return px >= x && py >= y && px < x + w && py < y + h; }
};

// Colours are 0x00BBGGRR, the way the viewer's state stores them.
using ColorRef = std::uint32_t;
constexpr ColorRef rgb(int r, int g, int b) {
  return static_cast<ColorRef>(r) | static_cast<ColorRef>(g) << 8 | static_cast<ColorRef>(b) << 16;
}

// Bytes per row of a 24-bit bitmap of the given width.
constexpr int dib_stride(int width) { return ((width * 24 + 31) / 8) & ~3; }

// Largest bitmap the viewer agrees to allocate (pixels).
constexpr long long kMaxBitmapPixels = 1LL << 28;

class Bitmap {
 public:
  // Zero-filled (black) bitmap, or nullptr when the size is not positive,
  // exceeds kMaxBitmapPixels or the memory cannot be had.
  static std::unique_ptr<Bitmap> create(int width, int height);

  int width() const { return width_; }
  int height() const { return height_; }
  int stride() const { return stride_; }
  std::uint8_t* bits() { return bits_.get(); }
  const std::uint8_t* bits() const { return bits_.get(); }
  // Memory row r (0 = bottom row of the picture).
  std::uint8_t* memory_row(int r) { return bits_.get() + static_cast<size_t>(r) * stride_; }
  const std::uint8_t* memory_row(int r) const { return bits_.get() + static_cast<size_t>(r) * stride_; }
  // Picture row y (0 = top row).
  std::uint8_t* picture_row(int y) { return memory_row(height_ - 1 - y); }
  const std::uint8_t* picture_row(int y) const { return memory_row(height_ - 1 - y); }
  // Colour of the picture pixel (x, y) as 0x00BBGGRR.
  ColorRef pixel(int x, int y) const;
  void set_pixel(int x, int y, ColorRef color);

 private:
  // Gives the pixel memory back: unmapped when it was mapped, else freed.
  struct Release {
    size_t mapped_bytes = 0;
    void operator()(std::uint8_t* bits) const;
  };
  using Pixels = std::unique_ptr<std::uint8_t, Release>;
  static Pixels allocate_zeroed(size_t bytes);

  Bitmap(int w, int h, Pixels bits);
  int width_, height_, stride_;
  Pixels bits_;
};

// Zeroes every byte outside the top-left width x height picture: the rest
// of each of its rows (padding included) and the rows below it, so that a
// bitmap about to be overwritten there reads as a new one.
void clear_outside(Bitmap& bitmap, int width, int height);

// Fills the rectangle (picture coordinates, clipped to the bitmap).
void fill_rect(Bitmap& target, Rect r, ColorRef color);

// Stretching copy of the source rectangle (sx, sy, sw, sh) onto the
// destination rectangle (dx, dy, dw, dh), both in picture coordinates
// (top-down). A negative dw (dh) mirrors the copy: the destination then runs
// leftwards (upwards) from dx (dy), covering columns dx + dw .. dx - 1.
// The source rectangle is clipped to the source bitmap and the destination
// shrunk in proportion, so nothing is drawn for source positions outside the
// bitmap. Each destination pixel takes the source pixel it falls on.
void stretch_copy(Bitmap& target, int dx, int dy, int dw, int dh, const Bitmap& source, int sx, int sy, int sw, int sh);

// Writes the bitmap as PNG or binary PPM (P6) to a host path; false on failure.
bool save_png(const Bitmap& bitmap, const std::string& host_path);
bool save_ppm(const Bitmap& bitmap, const std::string& host_path);

}  // namespace zeb::platform
