#pragma once
// Page decoding: a JPEG page (a file, or an entry of the current archive)
// into a 24-bit page bitmap.
#include <atomic>
#include <cstddef>
#include <cstdio>
#include <memory>
#include <string>

#include "core/viewer.h"

namespace zeb {

// Real progressive files have about ten scans; libjpeg accepts repeated
// scans and walks the whole frame for each, so a small file of thousands of
// empty scans would take minutes. A page with more scans is given up.
constexpr int kMaxPageScans = 100;

struct DecodedPage {
  std::unique_ptr<platform::Bitmap> bitmap;  // null when decoding was abandoned
  int width = 0, height = 0;                 // output size (never the rounded size)
};
// Bounds of one decode beyond the viewer's own (bitmap size, scan count).
struct DecodeLimits {
  // Set from another thread to stop the decode at its next row; null: the
  // decode runs to its end.
  const std::atomic<bool>* cancel = nullptr;
  // The largest page bitmap the decode may allocate (bytes); 0: no bound
  // beyond the viewer's bitmap limit.
  long long max_bitmap_bytes = 0;
  // A bitmap the decode fills instead of allocating one, taken when it has
  // the page bitmap's size and left in place otherwise; null: none. Taking
  // it spares the kernel's zeroing of fresh pages (a tenth of a decode);
  // the decoder clears what its rows do not write.
  std::unique_ptr<platform::Bitmap>* spare = nullptr;
};
// Told by the decoder as it fills the page bitmap, on the decoding thread.
class RowListener {
 public:
  // The bitmap exists; its picture will be the top-left width x height.
  virtual void page_started(const platform::Bitmap& page, int width, int height) = 0;
  // The picture's rows 0 .. rows - 1 (from the top) hold their final pixels.
  virtual void rows_final(int rows) = 0;
  // The decode gave up: the bitmap is freed once this returns.
  virtual void page_abandoned() = 0;

 protected:
  ~RowListener() = default;
};
// Decodes from the file's current position; preview = one-eighth scale with
// the fast settings. Never ends the process: fatal decoder errors, absurd
// sizes, files of too many scans, failed allocations and a cancel give a
// null bitmap.
DecodedPage decode_jpeg(std::FILE* file, bool preview, const DecodeLimits& limits = {},
                        RowListener* listener = nullptr);
// The same decode from a whole JPEG file held in memory (an entry inflated
// from an archive), with the same settings and the same guards.
DecodedPage decode_jpeg(const unsigned char* bytes, std::size_t size, bool preview, const DecodeLimits& limits = {},
                        RowListener* listener = nullptr);

// What a load of page-list entry `index` decodes: the file it opens (the
// page, or the archive), the page-list entry, its archive offset list item
// (data offset, and for a deflated entry what inflating needs), and whether
// it decodes the preview. Two loads with equal keys decode the same bytes
// of the same-named file with the same settings.
struct PageKey {
  std::u16string location;  // opened: the page's path, or the archive (LastDir)
  std::u16string name;      // the page-list entry
  bool archive = false;
  std::u16string entry;  // the archive offset list item
  bool preview = false;
  bool operator==(const PageKey&) const = default;
};
// The key of loading entry `index` with the path the loader is handed.
PageKey page_key(const Viewer& v, int index, const std::u16string& path);
// Decodes the page of `key` from its freshly opened file.
DecodedPage decode_page(std::FILE* file, const PageKey& key, const DecodeLimits& limits = {},
                        RowListener* listener = nullptr);

}  // namespace zeb
