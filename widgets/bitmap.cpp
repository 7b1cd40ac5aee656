// 24-bit bottom-up bitmaps: creation, pixels, rectangle fills and the
// stretching copy that paints every page onto the screen.
#include "widgets/bitmap.h"

#include <png.h>
#include <sys/mman.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

#include "host/files.h"

namespace zeb::platform {
namespace {

void put_color(std::uint8_t* p, ColorRef color) {
  p[0] = static_cast<std::uint8_t>(color >> 16);  // blue
  p[1] = static_cast<std::uint8_t>(color >> 8);   // green
  p[2] = static_cast<std::uint8_t>(color);        // red
}

// One axis of a stretching copy, normalised so that both extents are
// positive: destination pixel first + i (i < count) takes the source
// position src_start + (2i + 1) * src_len / (2 * count), counted from the
// far end of the destination when the axis is mirrored.
struct Axis {
  long long first = 0;  // leftmost (topmost) destination pixel
  long long count = 0;  // destination pixels
  long long src_start = 0;
  long long src_len = 0;
  bool mirrored = false;
};

Axis make_axis(long long d, long long dlen, long long s, long long slen) {
  Axis a;
  if (dlen < 0) {
    a.first = d + dlen;
    a.count = -dlen;
    a.mirrored = true;
  } else {
    a.first = d;
    a.count = dlen;
  }
  if (slen < 0) {  // a source running backwards mirrors as well
    a.src_start = s + slen;
    a.src_len = -slen;
    a.mirrored = !a.mirrored;
  } else {
    a.src_start = s;
    a.src_len = slen;
  }
  return a;
}

// Source position of destination pixel first + i.
long long source_of(const Axis& a, long long i) {
  long long k = a.mirrored ? a.count - 1 - i : i;
  // 128-bit product: extents near the int limits must not overflow.
  __int128 offset = static_cast<__int128>(2 * k + 1) * a.src_len / (2 * a.count);
  return a.src_start + static_cast<long long>(offset);
}

// Destination pixels [lo, hi) (relative to a.first) whose source position
// lies inside [0, src_size) and whose target position lies inside
// [0, dst_size). The source position is monotonic in i, so the pixels that
// fall on the source form one run.
std::pair<long long, long long> visible_run(const Axis& a, int src_size, int dst_size) {
  long long lo = std::max(0LL, -a.first);
  long long hi = std::min(a.count, dst_size - a.first);
  if (lo >= hi) return {0, 0};
  while (lo < hi) {
    long long s = source_of(a, lo);
    if (s >= 0 && s < src_size) break;
    ++lo;
  }
  while (hi > lo) {
    long long s = source_of(a, hi - 1);
    if (s >= 0 && s < src_size) break;
    --hi;
  }
  return {lo, hi};
}

}  // namespace

namespace {

// Bitmaps of this many bytes and more (page bitmaps) get their own mapping,
// aligned to and sized in huge pages, and the kernel is asked to back it
// with huge pages: a page is written once right after it is allocated, and
// faulting in its memory 4 KiB at a time costs a large share of a page turn.
// Fresh mappings are zero-filled by the kernel, so no clearing pass is
// needed either. Smaller bitmaps come from the heap.
constexpr size_t kHugePage = size_t{2} << 20;
constexpr size_t kMappedFrom = size_t{4} << 20;
// AddressSanitizer guards the ends of heap blocks only, so the sanitized
// builds keep every bitmap on the heap, where a write past a row is caught.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kMapLargeBitmaps = false;
#else
constexpr bool kMapLargeBitmaps = true;
#endif

std::uint8_t* map_zeroed(size_t bytes) {
  // Map one huge page more than needed and trim the ends to the alignment.
  void* mapped = mmap(nullptr, bytes + kHugePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (mapped == MAP_FAILED) return nullptr;
  const auto start = reinterpret_cast<std::uintptr_t>(mapped);
  const std::uintptr_t aligned = (start + kHugePage - 1) & ~(kHugePage - 1);
  if (aligned > start) munmap(mapped, aligned - start);
  const size_t tail = start + kHugePage - aligned;
  if (tail > 0) munmap(reinterpret_cast<void*>(aligned + bytes), tail);
  madvise(reinterpret_cast<void*>(aligned), bytes, MADV_HUGEPAGE);  // a hint; refused where unsupported
  return reinterpret_cast<std::uint8_t*>(aligned);
}

}  // namespace

void Bitmap::Release::operator()(std::uint8_t* bits) const {
  if (mapped_bytes > 0) {
    munmap(bits, mapped_bytes);
  } else {
    std::free(bits);
  }
}

Bitmap::Pixels Bitmap::allocate_zeroed(size_t bytes) {
  if (!kMapLargeBitmaps || bytes < kMappedFrom) {
    return Pixels(static_cast<std::uint8_t*>(std::calloc(bytes, 1)), Release{0});
  }
  const size_t mapped = (bytes + kHugePage - 1) / kHugePage * kHugePage;
  std::uint8_t* bits = map_zeroed(mapped);
  return Pixels(bits, Release{bits ? mapped : 0});
}

Bitmap::Bitmap(int w, int h, Pixels bits) : width_(w), height_(h), stride_(dib_stride(w)), bits_(std::move(bits)) {}

std::unique_ptr<Bitmap> Bitmap::create(int width, int height) {
  if (width <= 0 || height <= 0) return nullptr;
  if (static_cast<long long>(width) * height > kMaxBitmapPixels) return nullptr;
  if (width > (INT_MAX - 31) / 24) return nullptr;  // the row length must stay an int
  Pixels bits = allocate_zeroed(static_cast<size_t>(dib_stride(width)) * static_cast<size_t>(height));
  if (!bits) return nullptr;
  return std::unique_ptr<Bitmap>(new (std::nothrow) Bitmap(width, height, std::move(bits)));
}

ColorRef Bitmap::pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
  const std::uint8_t* p = picture_row(y) + 3 * x;
  return static_cast<ColorRef>(p[2]) | (static_cast<ColorRef>(p[1]) << 8) | (static_cast<ColorRef>(p[0]) << 16);
}

void Bitmap::set_pixel(int x, int y, ColorRef color) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  put_color(picture_row(y) + 3 * x, color);
}

void clear_outside(Bitmap& bitmap, int width, int height) {
  const int shown_rows = std::clamp(height, 0, bitmap.height());
  const size_t row_bytes = static_cast<size_t>(3) * std::clamp(width, 0, bitmap.width());
  for (int y = 0; y < shown_rows; ++y) {
    std::memset(bitmap.picture_row(y) + row_bytes, 0, static_cast<size_t>(bitmap.stride()) - row_bytes);
  }
  // Picture rows shown_rows .. height - 1 are memory rows 0 .. H - 1 - shown_rows.
  std::memset(bitmap.bits(), 0, static_cast<size_t>(bitmap.height() - shown_rows) * bitmap.stride());
}

void fill_rect(Bitmap& target, Rect r, ColorRef color) {
  int x0 = std::max(r.x, 0);
  int y0 = std::max(r.y, 0);
  int x1 = static_cast<int>(std::min<long long>(static_cast<long long>(r.x) + r.w, target.width()));
  int y1 = static_cast<int>(std::min<long long>(static_cast<long long>(r.y) + r.h, target.height()));
  if (x0 >= x1 || y0 >= y1) return;
  std::uint8_t pattern[3];
  put_color(pattern, color);
  for (int y = y0; y < y1; ++y) {
    std::uint8_t* p = target.picture_row(y) + 3 * x0;
    for (int x = x0; x < x1; ++x, p += 3) std::memcpy(p, pattern, 3);
  }
}

void stretch_copy(Bitmap& target, int dx, int dy, int dw, int dh, const Bitmap& source, int sx, int sy, int sw,
                  int sh) {
  if (dw == 0 || dh == 0 || sw == 0 || sh == 0) return;
  Axis ax = make_axis(dx, dw, sx, sw);
  Axis ay = make_axis(dy, dh, sy, sh);
  auto [c0, c1] = visible_run(ax, source.width(), target.width());
  auto [r0, r1] = visible_run(ay, source.height(), target.height());
  if (c0 >= c1 || r0 >= r1) return;

  // Byte offset in a source row of each visible destination column.
  std::vector<int> offsets(static_cast<size_t>(c1 - c0));
  for (long long i = c0; i < c1; ++i) offsets[i - c0] = static_cast<int>(3 * source_of(ax, i));
  bool plain_row = true;  // one-to-one and not mirrored: the run is one block
  for (size_t k = 1; k < offsets.size() && plain_row; ++k) {
    plain_row = offsets[k] == offsets[0] + static_cast<int>(3 * k);
  }

  const size_t run_bytes = offsets.size() * 3;
  for (long long j = r0; j < r1; ++j) {
    const std::uint8_t* src = source.picture_row(static_cast<int>(source_of(ay, j)));
    std::uint8_t* dst = target.picture_row(static_cast<int>(ay.first + j)) + 3 * (ax.first + c0);
    if (plain_row) {
      std::memcpy(dst, src + offsets[0], run_bytes);
      continue;
    }
    for (int off : offsets) {
      std::memcpy(dst, src + off, 3);
      dst += 3;
    }
  }
}

namespace {

// libpng reports errors by long jump; everything that must be released
// lives outside the function that sets the jump point.
bool write_png_rows(std::FILE* file, const Bitmap& bitmap) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (!png) return false;
  png_infop info = png_create_info_struct(png);
  if (!info) {
    png_destroy_write_struct(&png, nullptr);
    return false;
  }
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_init_io(png, file);
  png_set_IHDR(png, info, static_cast<png_uint_32>(bitmap.width()), static_cast<png_uint_32>(bitmap.height()), 8,
               PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  png_set_bgr(png);  // the rows hold blue, green, red
  for (int y = 0; y < bitmap.height(); ++y) { png_write_row(png, const_cast<png_bytep>(bitmap.picture_row(y))); }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return true;
}

bool close_checked(FilePtr file) { return std::fclose(file.release()) == 0; }

}  // namespace

bool save_png(const Bitmap& bitmap, const std::string& host_path) {
  FilePtr file = open_host_file(host_path, "wb");
  if (!file) return false;
  bool written = write_png_rows(file.get(), bitmap);
  return close_checked(std::move(file)) && written;
}

bool save_ppm(const Bitmap& bitmap, const std::string& host_path) {
  FilePtr file = open_host_file(host_path, "wb");
  if (!file) return false;
  bool written = std::fprintf(file.get(), "P6\n%d %d\n255\n", bitmap.width(), bitmap.height()) > 0;
  std::vector<std::uint8_t> rgb(static_cast<size_t>(bitmap.width()) * 3);
  for (int y = 0; y < bitmap.height() && written; ++y) {
    const std::uint8_t* row = bitmap.picture_row(y);
    for (size_t i = 0; i < rgb.size(); i += 3) {
      rgb[i] = row[i + 2];
      rgb[i + 1] = row[i + 1];
      rgb[i + 2] = row[i];
    }
    written = std::fwrite(rgb.data(), 1, rgb.size(), file.get()) == rgb.size();
  }
  return close_checked(std::move(file)) && written;
}

}  // namespace zeb::platform
