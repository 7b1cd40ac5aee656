#pragma once
// The box filter of the view bitmap, a line at a time as the page's rows
// become final. The page loader feeds it while the decoder writes the page,
// so each line is averaged from rows that are still in the processor's
// cache; the resampler feeds it the whole page at once. Both run the same
// arithmetic on the same rows, so the view is the same byte for byte
// whichever way it was fed.
#include <memory>
#include <vector>

#include "core/viewer.h"

namespace zeb {

struct ResampleResult {
  std::unique_ptr<platform::Bitmap> bitmap;  // null when a side is 0
  int width = 0, height = 0;
  int auto_rotated = 0;
};

class LineAverager;  // view_builder.cpp

class ViewBuilder {
 public:
  // A builder for a view that needs the box filter (neither side equal to
  // the page's rounded side); null for a same-size copy or turn, for a view
  // with a zero side, or when the view bitmap cannot be had. `page` is the
  // bitmap the decoder fills; its picture is the top-left W x H.
  static std::unique_ptr<ViewBuilder> start(const platform::Bitmap& page, const ViewRequest& request);
  ~ViewBuilder();
  ViewBuilder(const ViewBuilder&) = delete;
  ViewBuilder& operator=(const ViewBuilder&) = delete;

  // The picture's rows 0 .. rows - 1 (counted from the top) are final:
  // every line whose box lies within them is averaged now.
  void rows_final(int rows);
  // Averages what is left (the whole page is then taken as final) and hands
  // over the view.
  ResampleResult finish();

  // Sharing the lines between two threads, as the page loader's helper does.
  // An unturned view writes each line into a view row of its own, so two
  // threads may average different lines at once; a turned one may not.
  bool can_share() const { return !turned_; }
  int line_count() const { return static_cast<int>(order_.size()); }
  // The picture rows from the top that the k-th line in decoding order
  // reads (the lines need more rows as k grows).
  int rows_needed(int k) const { return H_ - lowest_row_[order_[k]]; }
  // Averages the k-th line in decoding order into its view row, with
  // working sums of its own for each of the two threads (thread 0 or 1).
  void average_shared(int k, int thread);
  // The view, once every line was averaged by average_shared.
  ResampleResult take_shared();

 private:
  ViewBuilder() = default;
  void emit(int line, const std::uint8_t* pixels);
  void flush_turned(int first_line, int count);

  const platform::Bitmap* page_ = nullptr;
  int H_ = 0;
  bool turned_ = false;
  ResampleResult result_;
  std::unique_ptr<LineAverager> averager_;
  // Lines in the order their rows become final (the decoder writes the
  // picture from the top, which is the bitmap's last memory row), and the
  // lowest page memory row each one reads.
  std::vector<int> order_;
  std::vector<int> lowest_row_;
  size_t done_ = 0;
  std::vector<std::uint8_t> batch_;  // turned lines gathered before they are written out
};

}  // namespace zeb
