// The size of a view bitmap.
#include "view/view_size.h"

#include <algorithm>

namespace zeb {

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

}  // namespace zeb
