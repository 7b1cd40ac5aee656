#pragma once
// The page just left, kept ready: a turn back to it, a turn forward again
// after a turn back, and a reload of the page shown take its page bitmap
// and view instead of decoding it again, provided the file the load opens
// is still the file it was read from (path, device, inode, size and the
// nanosecond modification and status-change times). One page is kept
// behind, and only one of at most kMaxKeptPageBytes; a location change or
// a sort drops it, and a reload leaves none behind (the page left is the
// page shown again). All of it lives on the user-interface thread.
#include <cstdio>
#include <memory>
#include <optional>

#include "core/viewer.h"
#include "host/file_identity.h"
#include "image/page_loader.h"

namespace zeb {

// A page is kept behind only when its page bitmap and view together take
// at most this many bytes.
constexpr long long kMaxKeptPageBytes = 64LL << 20;

// Counts for tests and measurements.
struct PageLoadCounts {
  int decoded = 0;  // loads that decoded their page
  int kept = 0;     // loads that took a kept page
};

// Start of a load, in place of freeing the page bitmaps: the page shown is
// set aside with its view when `keep` allows and it fits the bound, and is
// freed otherwise. The window is left without a page either way.
void set_shown_page_aside(MainWindow& w, bool keep);
// The page of `key` when the page set aside (a reload) or the page behind
// (a turn back) is that page, read from the file the load opened, whose
// identity is `file`; else a null bitmap. A kept view comes with it as the
// window's made view. The page behind is dropped when it is not taken; its
// page bitmap goes to `spare`, for the decode to fill.
DecodedPage take_kept_page(MainWindow& w, const PageKey& key, const std::optional<platform::FileIdentity>& file,
                           std::unique_ptr<platform::Bitmap>& spare);
// End of a load: the page set aside becomes the page behind.
void settle_kept_pages(MainWindow& w);
// The page now shown was loaded for `key` from the file of `identity`.
void note_shown_page(MainWindow& w, const PageKey& key, const platform::FileIdentity& identity);
// The page shown can no longer be kept (its bitmap was freed).
void forget_shown_page(MainWindow& w);
// Deletes page_bitmap and view_bitmap where present, and forgets the page
// shown.
void free_page_bitmaps(MainWindow& w);
// A location change or a sort: no page is kept behind.
void drop_page_behind(MainWindow& w);

PageLoadCounts page_load_counts(const MainWindow& w);
void count_decoded_page(MainWindow& w);
// Whether a page is kept behind (tests, bench).
bool holds_page_behind(const MainWindow& w);

}  // namespace zeb
