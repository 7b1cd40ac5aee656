#pragma once
// The size of a view bitmap: what the resampler and the view builder make
// for a page, a target and a turn.
namespace zeb {

// Size of the result before its sides are rounded, and whether it is turned.
struct ResampleSize {
  int width = 0, height = 0;  // as shown, after the turn
  bool turned = false;
  int auto_rotated = 0;  // turned although no turn was asked for
};
// The size decision: an unturned result is cut to the page in each
// direction; with auto-rotate (RSC) a result at least as wide as high is
// turned, and an asked-for turn is dropped when the turned result would be
// at least as high as wide.
ResampleSize resample_size(int W, int H, int tw, int th, int rotate, int RSC);

// A side of the view bitmap: rounded down to a multiple of 8, except that a
// side one short of a multiple of 8 is rounded up; below 7 it is 0.
int view_side(int side);

}  // namespace zeb
