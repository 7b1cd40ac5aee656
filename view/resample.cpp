// The view bitmap: the page scaled with a box (area-average) filter and, when
// asked or when auto-rotate decides so, turned a quarter turn
// counter-clockwise. The two top rows and the two right columns of the
// result are never computed and stay black.
//
// Every box is the product of a run of page rows and a run of page columns.
// The runs depend only on the output row or only on the output column, so
// they are worked out once per row and once per column with the same float
// expressions a per-pixel loop would use; the pixels are then summed with
// integers only: first the rows of a run column by column, then each
// position's run of those column sums.
#include "view/resample.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

namespace zeb {
namespace {

using platform::Bitmap;

// Rows at the top and columns at the right of the view bitmap left black.
constexpr int kBlackEdge = 2;
// Output lines of a turned result gathered before they are written out, so
// the view bitmap is written in short row pieces instead of column by column.
constexpr int kTurnBatch = 16;
// Side of the square tiles in which a same-size turn is copied.
constexpr int kTurnTile = 64;

// A run of page indexes [begin, end).
struct Span {
  int begin = 0, end = 0;
  int size() const { return end - begin; }
};

// The page run of output position p: from (int)(p * scale) while the index
// stays below (p + 1) * scale; the wide filter raises that bound by one and
// includes it. Indexes past the page are left out of the run; a run that
// would be empty keeps its first pixel, so no box is ever empty.
Span box_span(int p, float scale, bool wide, int limit) {
  Span s;
  s.begin = std::min(static_cast<int>(static_cast<float>(p) * scale), limit - 1);
  float bound = static_cast<float>(p + 1) * scale;
  int end = s.begin;
  if (wide) {
    bound = bound + 1.0f;
    while (end < limit && static_cast<float>(end) <= bound) ++end;
  } else {
    while (end < limit && static_cast<float>(end) < bound) ++end;
  }
  s.end = std::max(end, s.begin + 1);
  return s;
}

std::vector<Span> box_spans(int count, float scale, bool wide, int limit) {
  std::vector<Span> spans(std::max(count, 0));
  for (int p = 0; p < count; ++p) spans[p] = box_span(p, scale, wide, limit);
  return spans;
}

// The page's picture: memory row r counts from the bottom of the W x H
// picture, which sits at the top left of the bitmap.
struct Source {
  const Bitmap& page;
  int W, H;
  const std::uint8_t* row(int r) const { return page.memory_row(r + page.height() - H); }
};

// A box average is its sum divided by its pixel count d, truncated. For
// d < 2^16 a multiply by m = ceil(2^40 / d) and a shift right by 40 gives
// exactly that quotient: m exceeds 2^40 / d by less than 1, which adds less
// than sum / 2^40 <= 255 d / 2^40 < 1 / d to the exact quotient, and a
// remainder of at most (d - 1) / d then stays below the next integer.
constexpr int kInverseShift = 40;
constexpr long long kInverseCounts = 1 << 16;

// m for every count up to max_count (entry 0 unused).
std::vector<std::uint64_t> inverse_counts(long long max_count) {
  std::vector<std::uint64_t> inverse(static_cast<size_t>(max_count) + 1);
  for (long long d = 1; d <= max_count; ++d)
    inverse[d] = ((std::uint64_t{1} << kInverseShift) + static_cast<std::uint64_t>(d) - 1) / static_cast<std::uint64_t>(d);
  return inverse;
}

// Averages one output line: the page rows `rows` against each position's
// column run; out receives three bytes per position. Column sums are kept
// in the narrowest type that holds them, so the vertical pass, which reads
// the whole page, packs as many columns as possible into each vector step;
// box sums and their division use BoxSum.
template <typename ColumnSum, typename BoxSum>
void box_line(const Source& src, Span rows, const std::vector<Span>& cols, Span all_cols,
              std::vector<ColumnSum>& sums, const std::uint64_t* inverse, std::uint8_t* out) {
  const int first = all_cols.begin * 3, last = all_cols.end * 3;
  ColumnSum* __restrict acc = sums.data();
  // Two page rows per pass over the sums: half the loads and stores of them.
  int row = rows.begin;
  if (rows.size() % 2 == 1) {
    const std::uint8_t* __restrict s = src.row(row++);
    for (int i = first; i < last; ++i) acc[i] = s[i];
  } else {
    std::fill(acc + first, acc + last, ColumnSum{0});
  }
  for (; row < rows.end; row += 2) {
    const std::uint8_t* __restrict s0 = src.row(row);
    const std::uint8_t* __restrict s1 = src.row(row + 1);
    for (int i = first; i < last; ++i) acc[i] = static_cast<ColumnSum>(acc[i] + s0[i] + s1[i]);
  }
  const BoxSum height = static_cast<BoxSum>(rows.size());
  for (size_t p = 0; p < cols.size(); ++p) {
    BoxSum b = 0, g = 0, r = 0;
    const ColumnSum* a = acc + cols[p].begin * 3;
    for (int c = cols[p].size(); c > 0; --c, a += 3) {
      b += a[0];
      g += a[1];
      r += a[2];
    }
    const BoxSum count = height * static_cast<BoxSum>(cols[p].size());
    if (inverse) {
      const std::uint64_t m = inverse[count];
      out[3 * p] = static_cast<std::uint8_t>((b * m) >> kInverseShift);
      out[3 * p + 1] = static_cast<std::uint8_t>((g * m) >> kInverseShift);
      out[3 * p + 2] = static_cast<std::uint8_t>((r * m) >> kInverseShift);
    } else {
      out[3 * p] = static_cast<std::uint8_t>(b / count);
      out[3 * p + 1] = static_cast<std::uint8_t>(g / count);
      out[3 * p + 2] = static_cast<std::uint8_t>(r / count);
    }
  }
}

// The box filter over all lines; `emit` stores each finished line.
struct BoxPlan {
  std::vector<Span> lines;      // page rows of each output line
  std::vector<Span> positions;  // page columns of each position on a line
};

template <typename ColumnSum, typename BoxSum, typename Emit>
void box_filter(const Source& src, const BoxPlan& plan, long long largest_box, Emit emit) {
  if (plan.lines.empty() || plan.positions.empty()) return;
  const Span all_cols{plan.positions.front().begin, plan.positions.back().end};
  std::vector<ColumnSum> sums(static_cast<size_t>(src.W) * 3);
  std::vector<std::uint8_t> line(plan.positions.size() * 3);
  const std::vector<std::uint64_t> inverse = largest_box < kInverseCounts ? inverse_counts(largest_box)
                                                                            : std::vector<std::uint64_t>();
  const std::uint64_t* divide = inverse.empty() ? nullptr : inverse.data();
  for (size_t l = 0; l < plan.lines.size(); ++l) {
    box_line<ColumnSum, BoxSum>(src, plan.lines[l], plan.positions, all_cols, sums, divide, line.data());
    emit(static_cast<int>(l), line.data());
  }
}

// Sums of up to 257 bytes fit 16 bits, and of up to 2^24 bytes 32 bits;
// the widest boxes of a huge page take 64 bits.
template <typename Emit>
void run_box_filter(const Source& src, const BoxPlan& plan, Emit emit) {
  long long tallest = 0, widest = 0;
  for (const Span& s : plan.lines) tallest = std::max<long long>(tallest, s.size());
  for (const Span& s : plan.positions) widest = std::max<long long>(widest, s.size());
  constexpr long long k16 = 65535 / 255, k32 = 1LL << 24;
  const long long largest = tallest * widest;
  if (largest < k32) {
    if (tallest <= k16) {
      box_filter<std::uint16_t, std::uint32_t>(src, plan, largest, emit);
    } else {
      box_filter<std::uint32_t, std::uint32_t>(src, plan, largest, emit);
    }
  } else if (tallest < k32) {
    box_filter<std::uint32_t, std::uint64_t>(src, plan, largest, emit);
  } else {
    box_filter<std::uint64_t, std::uint64_t>(src, plan, largest, emit);
  }
}

void copy_same_size(const Source& src, Bitmap& dst) {
  const size_t bytes = static_cast<size_t>(dst.width() - kBlackEdge) * 3;
  for (int y = 0; y < dst.height() - kBlackEdge; ++y) std::memcpy(dst.memory_row(y), src.row(y), bytes);
}

void scale_unturned(const Source& src, Bitmap& dst, bool wide) {
  const int vw = dst.width(), vh = dst.height();
  if (vh == view_side(src.H) && vw == view_side(src.W)) {
    copy_same_size(src, dst);
    return;
  }
  const float sy = static_cast<float>(src.H) / static_cast<float>(vh);
  const float sx = static_cast<float>(src.W) / static_cast<float>(vw);
  const BoxPlan plan{box_spans(vh - kBlackEdge, sy, wide, src.H), box_spans(vw - kBlackEdge, sx, wide, src.W)};
  run_box_filter(src, plan, [&](int y, const std::uint8_t* line) {
    std::memcpy(dst.memory_row(y), line, plan.positions.size() * 3);
  });
}

// Same-size turn: view pixel (row y, column x) is the page pixel at the
// first row of x's run and the first column of y's run. Copied in square
// tiles so neither bitmap is walked across its rows for long.
void turn_same_size(const Source& src, Bitmap& dst, const std::vector<Span>& rows_of_x,
                    const std::vector<Span>& cols_of_y) {
  const int rows = static_cast<int>(cols_of_y.size()), cols = static_cast<int>(rows_of_x.size());
  for (int y0 = 0; y0 < rows; y0 += kTurnTile) {
    const int y1 = std::min(rows, y0 + kTurnTile);
    for (int x0 = 0; x0 < cols; x0 += kTurnTile) {
      const int x1 = std::min(cols, x0 + kTurnTile);
      for (int x = x0; x < x1; ++x) {
        const std::uint8_t* s = src.row(rows_of_x[x].begin);
        for (int y = y0; y < y1; ++y) {
          std::memcpy(dst.memory_row(y) + 3 * x, s + 3 * cols_of_y[y].begin, 3);
        }
      }
    }
  }
}

// Turned result: view row y takes page columns, view column x takes page
// rows counted from k = view_width - 2 - x, so the page's right edge becomes
// the view's top edge.
void scale_turned(const Source& src, Bitmap& dst, bool wide) {
  const int vw = dst.width(), vh = dst.height();
  const float tx = static_cast<float>(src.W) / static_cast<float>(vh);
  const float ty = static_cast<float>(src.H) / static_cast<float>(vw);
  BoxPlan plan;
  plan.positions = box_spans(vh - kBlackEdge, tx, wide, src.W);
  for (int x = 0; x < vw - kBlackEdge; ++x) plan.lines.push_back(box_span(vw - 2 - x, ty, wide, src.H));
  if (vw == view_side(src.H) && vh == view_side(src.W)) {
    turn_same_size(src, dst, plan.lines, plan.positions);
    return;
  }
  const size_t line_bytes = plan.positions.size() * 3;
  std::vector<std::uint8_t> batch(line_bytes * kTurnBatch);
  const int lines = static_cast<int>(plan.lines.size());
  auto flush = [&](int first_x, int count) {
    for (size_t y = 0; y < plan.positions.size(); ++y) {
      std::uint8_t* d = dst.memory_row(static_cast<int>(y)) + 3 * first_x;
      for (int j = 0; j < count; ++j) std::memcpy(d + 3 * j, batch.data() + j * line_bytes + 3 * y, 3);
    }
  };
  run_box_filter(src, plan, [&](int x, const std::uint8_t* line) {
    std::memcpy(batch.data() + (x % kTurnBatch) * line_bytes, line, line_bytes);
    if (x % kTurnBatch == kTurnBatch - 1 || x == lines - 1) flush(x - x % kTurnBatch, x % kTurnBatch + 1);
  });
}

}  // namespace

int view_side(int side) {
  // No bitmap could have a side this long; the cap keeps side + 1 in range.
  side = std::min(side, 1 << 30);
  return side < 7 ? 0 : (side + 1) / 8 * 8;
}

ResampleSize resample_size(int W, int H, int tw, int th, int rotate, int RSC) {
  const ResampleSize cut{std::min(tw, W), std::min(th, H), false, 0};
  if (RSC == 0) return rotate == 0 ? cut : ResampleSize{tw, th, true, 0};
  if (rotate == 0) return tw < th ? cut : ResampleSize{th, tw, true, 1};
  if (th < tw) return ResampleSize{tw, th, true, 0};
  return ResampleSize{std::min(th, W), std::min(tw, H), false, 0};
}

ResampleResult resample(const Bitmap& page, int W, int H, int target_w, int target_h, int rotate,
                        int RSC, int ZOOM_MODE) {
  ResampleResult result;
  W = std::min(W, page.width());
  H = std::min(H, page.height());
  const ResampleSize size = resample_size(W, H, target_w, target_h, rotate, RSC);
  result.auto_rotated = size.auto_rotated;
  result.width = view_side(size.width);
  result.height = view_side(size.height);
  if (W <= 0 || H <= 0 || result.width == 0 || result.height == 0) return result;
  result.bitmap = Bitmap::create(result.width, result.height);
  if (!result.bitmap) {
    result.width = result.height = 0;
    return result;
  }
  const Source src{page, W, H};
  if (result.height <= kBlackEdge || result.width <= kBlackEdge) return result;
  if (size.turned) {
    scale_turned(src, *result.bitmap, ZOOM_MODE != 0);
  } else {
    scale_unturned(src, *result.bitmap, ZOOM_MODE != 0);
  }
  return result;
}

void resample_page(Viewer& v, int target_w, int target_h, int rotate) {
  MainWindow& w = v.window;
  v.state.auto_rotated = resample_size(w.page_width, w.page_height, target_w, target_h, rotate, v.state.RSC).auto_rotated;
  if (!w.page_bitmap) return;
  w.view_bitmap.reset();
  ResampleResult r = resample(*w.page_bitmap, w.page_width, w.page_height, target_w, target_h, rotate,
                              v.state.RSC, v.state.ZOOM_MODE);
  w.view_bitmap = std::move(r.bitmap);
  w.view_width = r.width;
  w.view_height = r.height;
}

}  // namespace zeb
