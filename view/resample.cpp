// The view bitmap: the page scaled with a box (area-average) filter and, when
// asked or when auto-rotate decides so, turned a quarter turn
// counter-clockwise. The two top rows and the two right columns of the
// result are never computed and stay black. The box filter itself is the
// view builder's; here are the size rules and the same-size copies.
#include "view/resample.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "view/box_spans.h"
#include "view/view_builder.h"

namespace zeb {
namespace {

using platform::Bitmap;

// Side of the square tiles in which a same-size turn is copied.
constexpr int kTurnTile = 64;

void copy_same_size(const PagePicture& src, Bitmap& dst) {
  const size_t bytes = static_cast<size_t>(dst.width() - kBlackEdge) * 3;
  for (int y = 0; y < dst.height() - kBlackEdge; ++y) std::memcpy(dst.memory_row(y), src.row(y), bytes);
}

// Same-size turn: view pixel (row y, column x) is the page pixel at the
// first row of x's run and the first column of y's run. Copied in square
// tiles so neither bitmap is walked across its rows for long.
void turn_same_size(const PagePicture& src, Bitmap& dst, bool wide) {
  const BoxPlan plan = turned_plan(src.W, src.H, dst.width(), dst.height(), wide);
  const int rows = static_cast<int>(plan.positions.size()), cols = static_cast<int>(plan.lines.size());
  for (int y0 = 0; y0 < rows; y0 += kTurnTile) {
    const int y1 = std::min(rows, y0 + kTurnTile);
    for (int x0 = 0; x0 < cols; x0 += kTurnTile) {
      const int x1 = std::min(cols, x0 + kTurnTile);
      for (int x = x0; x < x1; ++x) {
        const std::uint8_t* s = src.row(plan.lines[x].begin);
        for (int y = y0; y < y1; ++y) { std::memcpy(dst.memory_row(y) + 3 * x, s + 3 * plan.positions[y].begin, 3); }
      }
    }
  }
}

// Takes the view made ahead for this very page bitmap and request.
bool take_made_view(MainWindow& w, const ViewRequest& request) {
  const bool fits = w.made_view && w.made_view_page == w.page_bitmap.get() && w.made_view_request == request;
  if (fits) {
    w.view_width = w.made_view->width();
    w.view_height = w.made_view->height();
    w.view_bitmap = std::move(w.made_view);
    w.view_request = request;
  }
  drop_made_view(w);
  return fits;
}

}  // namespace

ResampleResult resample(const Bitmap& page, const ViewRequest& request) {
  if (std::unique_ptr<ViewBuilder> builder = ViewBuilder::start(page, request)) return builder->finish();
  ResampleResult result;
  const int W = std::min(request.W, page.width()), H = std::min(request.H, page.height());
  const ResampleSize size = resample_size(W, H, request.target_w, request.target_h, request.rotate, request.RSC);
  result.auto_rotated = size.auto_rotated;
  result.width = view_side(size.width);
  result.height = view_side(size.height);
  if (W <= 0 || H <= 0 || result.width == 0 || result.height == 0) return result;
  result.bitmap = Bitmap::create(result.width, result.height);
  if (!result.bitmap) {
    result.width = result.height = 0;
    return result;
  }
  if (result.height <= kBlackEdge || result.width <= kBlackEdge) return result;
  // What the builder leaves is a same-size copy or turn.
  const PagePicture src{page, W, H};
  if (size.turned) {
    turn_same_size(src, *result.bitmap, request.ZOOM_MODE != 0);
  } else {
    copy_same_size(src, *result.bitmap);
  }
  return result;
}

ResampleResult resample(const Bitmap& page, int W, int H, int target_w, int target_h, int rotate, int RSC,
                        int ZOOM_MODE) {
  return resample(page, ViewRequest{W, H, target_w, target_h, rotate, RSC, ZOOM_MODE});
}

void resample_page(Viewer& v, int target_w, int target_h, int rotate) {
  MainWindow& w = v.window;
  v.state.auto_rotated = resample_size(w.page_width, w.page_height, target_w, target_h, rotate, v.state.RSC).auto_rotated;
  if (!w.page_bitmap) return;
  const ViewRequest request{w.page_width, w.page_height, target_w, target_h, rotate, v.state.RSC, v.state.ZOOM_MODE};
  // A view bitmap always belongs to the page bitmap beside it (every load
  // drops both), so the same request would only make the same view again.
  if (v.platform.view_while_decoding && w.view_bitmap && w.view_request == request) return;
  w.view_bitmap.reset();
  if (v.platform.view_while_decoding && take_made_view(w, request)) return;
  ResampleResult r = resample(*w.page_bitmap, request);
  w.view_bitmap = std::move(r.bitmap);
  w.view_width = r.width;
  w.view_height = r.height;
  w.view_request = request;
}

void drop_made_view(MainWindow& w) {
  w.made_view.reset();
  w.made_view_page = nullptr;
  w.made_view_request = {};
}

}  // namespace zeb
