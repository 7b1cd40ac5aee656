#pragma once
// Image transforms: the box-filtered, optionally turned view bitmap.
#include <memory>

#include "core/viewer.h"
#include "view/view_builder.h"

namespace zeb {

// Makes view_bitmap from page_bitmap for the target size as shown, or
// takes the view made ahead for the page with the same request.
void resample_page(Viewer& v, int target_w, int target_h, int rotate);
// Drops a view made ahead that the geometry did not take.
void drop_made_view(MainWindow& w);

// Size of the result before its sides are rounded, and whether it is turned.
struct ResampleSize {
  int width = 0, height = 0;  // as shown, after the turn
  bool turned = false;
  int auto_rotated = 0;       // turned although no turn was asked for
};
// The size decision: an unturned result is cut to the page in each
// direction; with auto-rotate (RSC) a result at least as wide as high is
// turned, and an asked-for turn is dropped when the turned result would be
// at least as high as wide.
ResampleSize resample_size(int W, int H, int tw, int th, int rotate, int RSC);

// A side of the view bitmap: rounded down to a multiple of 8, except that a
// side one short of a multiple of 8 is rounded up; below 7 it is 0.
int view_side(int side);

// The transform itself, on a page bitmap whose picture is the top-left
// W x H of the bitmap (a greyscale page's bitmap is padded beyond it).
ResampleResult resample(const platform::Bitmap& page, const ViewRequest& request);
ResampleResult resample(const platform::Bitmap& page, int W, int H, int target_w, int target_h,
                        int rotate, int RSC, int ZOOM_MODE);

}  // namespace zeb
