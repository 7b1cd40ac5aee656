// The box filter, line by line. Every box is the product of a run of page
// rows and a run of page columns. The runs depend only on the output line
// or only on the position along it, so they are worked out once per line
// and once per position with the same float expressions a per-pixel loop
// would use; the pixels are then summed with integers only: first the rows
// of a run column by column, then each position's run of those column
// sums. A line reads nothing but its own rows, so lines may be averaged in
// any order and as soon as their rows exist.
#include "view/view_builder.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "view/box_spans.h"
#include "view/view_size.h"

namespace zeb {

using platform::Bitmap;

namespace {

// Output lines of a turned result gathered before they are written out, so
// the view bitmap is written in short row pieces instead of column by column.
constexpr int kTurnBatch = 16;

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
    inverse[d] =
        ((std::uint64_t{1} << kInverseShift) + static_cast<std::uint64_t>(d) - 1) / static_cast<std::uint64_t>(d);
  return inverse;
}

}  // namespace

// Averages one output line at a time: its page rows against each position's
// column run.
class LineAverager {
 public:
  virtual ~LineAverager() = default;
  // `thread` (0 or 1) picks the working sums, so two threads may average
  // different lines at once.
  virtual void average(int line, std::uint8_t* out, int thread) = 0;
};

namespace {

// Column sums are kept in the narrowest type that holds them, so the
// vertical pass, which reads the whole page, packs as many columns as
// possible into each vector step; box sums and their division use BoxSum.
template <typename ColumnSum, typename BoxSum>
class BoxLines final : public LineAverager {
 public:
  BoxLines(const PagePicture& src, BoxPlan plan, long long largest_box) : src_(src), plan_(std::move(plan)) {
    for (auto& sums : sums_) sums.resize(static_cast<size_t>(src.W) * 3);
    all_cols_ = Span{plan_.positions.front().begin, plan_.positions.back().end};
    if (largest_box < kInverseCounts) inverse_ = inverse_counts(largest_box);
  }

  void average(int line, std::uint8_t* out, int thread) override {
    const Span rows = plan_.lines[line];
    const int first = all_cols_.begin * 3, last = all_cols_.end * 3;
    ColumnSum* __restrict acc = sums_[thread].data();
    // Two page rows per pass over the sums: half the loads and stores of them.
    int row = rows.begin;
    if (rows.size() % 2 == 1) {
      const std::uint8_t* __restrict s = src_.row(row++);
      for (int i = first; i < last; ++i) acc[i] = s[i];
    } else {
      std::fill(acc + first, acc + last, ColumnSum{0});
    }
    for (; row < rows.end; row += 2) {
      const std::uint8_t* __restrict s0 = src_.row(row);
      const std::uint8_t* __restrict s1 = src_.row(row + 1);
      for (int i = first; i < last; ++i) acc[i] = static_cast<ColumnSum>(acc[i] + s0[i] + s1[i]);
    }
    divide_line(acc, static_cast<BoxSum>(rows.size()), out);
  }

 private:
  void divide_line(const ColumnSum* sums, BoxSum height, std::uint8_t* out) const {
    const std::uint64_t* inverse = inverse_.empty() ? nullptr : inverse_.data();
    for (size_t p = 0; p < plan_.positions.size(); ++p) {
      BoxSum b = 0, g = 0, r = 0;
      const ColumnSum* a = sums + plan_.positions[p].begin * 3;
      for (int c = plan_.positions[p].size(); c > 0; --c, a += 3) {
        b += a[0];
        g += a[1];
        r += a[2];
      }
      const BoxSum count = height * static_cast<BoxSum>(plan_.positions[p].size());
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

  PagePicture src_;
  BoxPlan plan_;
  Span all_cols_;
  std::vector<ColumnSum> sums_[2];
  std::vector<std::uint64_t> inverse_;
};

// Sums of up to 257 bytes fit 16 bits, and of up to 2^24 bytes 32 bits;
// the widest boxes of a huge page take 64 bits.
std::unique_ptr<LineAverager> make_averager(const PagePicture& src, BoxPlan plan) {
  long long tallest = 0, widest = 0;
  for (const Span& s : plan.lines) tallest = std::max<long long>(tallest, s.size());
  for (const Span& s : plan.positions) widest = std::max<long long>(widest, s.size());
  constexpr long long k16 = 65535 / 255, k32 = 1LL << 24;
  const long long largest = tallest * widest;
  if (largest < k32) {
    if (tallest <= k16) return std::make_unique<BoxLines<std::uint16_t, std::uint32_t>>(src, std::move(plan), largest);
    return std::make_unique<BoxLines<std::uint32_t, std::uint32_t>>(src, std::move(plan), largest);
  }
  if (tallest < k32) return std::make_unique<BoxLines<std::uint32_t, std::uint64_t>>(src, std::move(plan), largest);
  return std::make_unique<BoxLines<std::uint64_t, std::uint64_t>>(src, std::move(plan), largest);
}

}  // namespace

ViewBuilder::~ViewBuilder() = default;

std::unique_ptr<ViewBuilder> ViewBuilder::start(const Bitmap& page, const ViewRequest& request) {
  const int W = std::min(request.W, page.width()), H = std::min(request.H, page.height());
  const ResampleSize size = resample_size(W, H, request.target_w, request.target_h, request.rotate, request.RSC);
  const int vw = view_side(size.width), vh = view_side(size.height);
  if (W <= 0 || H <= 0 || vw <= kBlackEdge || vh <= kBlackEdge) return nullptr;
  const bool same_size =
      size.turned ? vw == view_side(H) && vh == view_side(W) : vh == view_side(H) && vw == view_side(W);
  if (same_size) return nullptr;
  const PagePicture src{page, W, H};
  BoxPlan plan = size.turned ? turned_plan(W, H, vw, vh, request.ZOOM_MODE != 0)
                             : unturned_plan(W, H, vw, vh, request.ZOOM_MODE != 0);
  if (plan.lines.empty() || plan.positions.empty()) return nullptr;
  std::unique_ptr<ViewBuilder> b(new ViewBuilder());
  b->result_.bitmap = Bitmap::create(vw, vh);
  if (!b->result_.bitmap) return nullptr;
  b->result_.width = vw;
  b->result_.height = vh;
  b->result_.auto_rotated = size.auto_rotated;
  b->page_ = &page;
  b->H_ = H;
  b->turned_ = size.turned;
  const int lines = static_cast<int>(plan.lines.size());
  // Unturned lines read higher rows as they go, turned ones lower rows: the
  // decoder's top row is the highest memory row.
  for (int i = 0; i < lines; ++i) b->order_.push_back(size.turned ? i : lines - 1 - i);
  for (const Span& s : plan.lines) b->lowest_row_.push_back(s.begin);
  if (size.turned) b->batch_.resize(plan.positions.size() * 3 * kTurnBatch);
  else b->batch_.resize(plan.positions.size() * 3);
  b->averager_ = make_averager(src, std::move(plan));
  return b;
}

void ViewBuilder::rows_final(int rows) {
  // Picture rows 0 .. rows - 1 are page memory rows H - rows .. H - 1.
  const int lowest_final = H_ - rows;
  const size_t line_bytes = turned_ ? batch_.size() / kTurnBatch : batch_.size();
  while (done_ < order_.size() && lowest_row_[order_[done_]] >= lowest_final) {
    const int line = order_[done_];
    std::uint8_t* out = turned_ ? batch_.data() + (line % kTurnBatch) * line_bytes : batch_.data();
    averager_->average(line, out, 0);
    emit(line, out);
    ++done_;
  }
}

// Unturned line l is memory row l of the view. Turned line x is view
// column x; they are written out sixteen at a time.
void ViewBuilder::emit(int line, const std::uint8_t* pixels) {
  if (!turned_) {
    std::memcpy(result_.bitmap->memory_row(line), pixels, batch_.size());
    return;
  }
  const int lines = static_cast<int>(order_.size());
  if (line % kTurnBatch == kTurnBatch - 1 || line == lines - 1)
    flush_turned(line - line % kTurnBatch, line % kTurnBatch + 1);
}

void ViewBuilder::flush_turned(int first_line, int count) {
  const size_t line_bytes = batch_.size() / kTurnBatch;
  const size_t positions = line_bytes / 3;
  for (size_t y = 0; y < positions; ++y) {
    std::uint8_t* d = result_.bitmap->memory_row(static_cast<int>(y)) + 3 * first_line;
    for (int j = 0; j < count; ++j) std::memcpy(d + 3 * j, batch_.data() + j * line_bytes + 3 * y, 3);
  }
}

ResampleResult ViewBuilder::finish() {
  rows_final(H_);
  return std::move(result_);
}

void ViewBuilder::average_shared(int k, int thread) {
  const int line = order_[k];
  averager_->average(line, result_.bitmap->memory_row(line), thread);
}

ResampleResult ViewBuilder::take_shared() {
  done_ = order_.size();
  return std::move(result_);
}

}  // namespace zeb
