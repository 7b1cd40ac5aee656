#pragma once
// Page loading: decodes a JPEG page (a file, or a stored entry of the
// current archive) into the main window's 24-bit page bitmap.
#include <cstddef>
#include <cstdio>
#include <memory>
#include <string>

#include "app/viewer.h"

namespace zeb {

// 0 when the load has run (even if decoding was abandoned), -1 when it
// refused or could not open the file.
int load_page(Viewer& v, const std::u16string& path);
// Deletes page_bitmap and view_bitmap where present.
void free_page_bitmaps(Viewer& v);

struct DecodedPage {
  std::unique_ptr<platform::Bitmap> bitmap;  // null when decoding was abandoned
  int width = 0, height = 0;                 // output size (never the rounded size)
};
// Decodes from the file's current position; preview = one-eighth scale with
// the fast settings. Never ends the process: fatal decoder errors, absurd
// sizes and failed allocations give a null bitmap.
DecodedPage decode_jpeg(std::FILE* file, bool preview);
// The same decode from a whole JPEG file held in memory (an entry inflated
// from an archive), with the same settings and the same guards.
DecodedPage decode_jpeg(const unsigned char* bytes, std::size_t size, bool preview);

}  // namespace zeb
