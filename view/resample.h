#pragma once
// Image transforms: the box-filtered, optionally turned view bitmap.
#include <memory>

#include "app/viewer.h"

namespace zeb {

// Makes view_bitmap from page_bitmap for the target size as shown.
void resample_page(Viewer& v, int target_w, int target_h, int rotate);

struct ResampleResult {
  std::unique_ptr<platform::Bitmap> bitmap;  // null when a side is 0
  int width = 0, height = 0;
  int auto_rotated = 0;
};
// The transform itself, on a page bitmap whose picture is W x H.
ResampleResult resample(const platform::Bitmap& page, int W, int H, int target_w, int target_h,
                        int rotate, int RSC, int ZOOM_MODE);

}  // namespace zeb
