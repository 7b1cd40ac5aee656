#pragma once
// The fixed pictures, drawn by our own code at start-up with their sizes and
// cell layouts: number pad 132 (112 x 148), toolbar strip 136 (400 x 38),
// window buttons 144 (80 x 38), start-position picker 151 / 152 (60 x 100,
// green / red on black), icon 128 (32 x 32).
#include <memory>

#include "widgets/bitmap.h"

namespace zeb::platform {
constexpr int kNumberPadPicture = 132;
constexpr int kToolbarPicture = 136;
constexpr int kWindowButtonsPicture = 144;
constexpr int kPickerOffPicture = 151;
constexpr int kPickerOnPicture = 152;
constexpr int kIconPicture = 128;
constexpr int kIconSize = 32;  // pixels, the window's icon
// The picture of a resource id, or null for an unknown id.
std::unique_ptr<Bitmap> load_picture(int resource_id);
// The program's icon at any size (pixels square): the desktop's icons of
// 48, 128 and 256 pixels are drawn by this too.
std::unique_ptr<Bitmap> draw_icon(int size);
}  // namespace zeb::platform
