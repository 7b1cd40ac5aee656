#pragma once
// The runs of page rows and columns that the boxes of a view average, and
// the page's picture as the box filter reads it.
#include <cstdint>
#include <vector>

#include "widgets/bitmap.h"

namespace zeb {

// Rows at the top and columns at the right of the view bitmap left black.
constexpr int kBlackEdge = 2;

// A run of page indexes [begin, end).
struct Span {
  int begin = 0, end = 0;
  int size() const { return end - begin; }
};

// The page run of output position p: from (int)(p * scale) while the index
// stays below (p + 1) * scale; the wide filter raises that bound by one and
// includes it. Indexes past the page are left out of the run; a run that
// would be empty keeps its first pixel, so no box is ever empty.
Span box_span(int p, float scale, bool wide, int limit);
std::vector<Span> box_spans(int count, float scale, bool wide, int limit);

// The page's picture: memory row r counts from the bottom of the W x H
// picture, which sits at the top left of the bitmap.
struct PagePicture {
  const platform::Bitmap& page;
  int W, H;
  const std::uint8_t* row(int r) const { return page.memory_row(r + page.height() - H); }
};

// The boxes of a view: the page rows each output line sums, and the page
// columns each position along a line sums.
struct BoxPlan {
  std::vector<Span> lines;
  std::vector<Span> positions;
};
// Unturned: line y is view memory row y, position x its column.
BoxPlan unturned_plan(int W, int H, int vw, int vh, bool wide);
// Turned a quarter turn counter-clockwise: line x is view column x and
// takes page rows counted from k = vw - 2 - x, position y is view memory
// row y and takes page columns, so the page's right edge becomes the view's
// top edge.
BoxPlan turned_plan(int W, int H, int vw, int vh, bool wide);

}  // namespace zeb
