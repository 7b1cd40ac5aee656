#pragma once
// Image transforms: the box-filtered, optionally turned view bitmap.
#include <memory>

#include "core/viewer.h"
#include "view/view_builder.h"
#include "view/view_size.h"

namespace zeb {

// Makes view_bitmap from page_bitmap for the target size as shown, or
// takes the view made ahead for the page with the same request.
void resample_page(Viewer& v, int target_w, int target_h, int rotate);
// Drops a view made ahead that the geometry did not take.
void drop_made_view(MainWindow& w);

// The transform itself, on a page bitmap whose picture is the top-left
// W x H of the bitmap (a greyscale page's bitmap is padded beyond it).
ResampleResult resample(const platform::Bitmap& page, const ViewRequest& request);
ResampleResult resample(const platform::Bitmap& page, int W, int H, int target_w, int target_h,
                        int rotate, int RSC, int ZOOM_MODE);

}  // namespace zeb
