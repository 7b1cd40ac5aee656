#pragma once
// Read-ahead: while the reader looks at a page, the page that the next turn
// will load is decoded on a worker thread into a spare bitmap, with the
// loader's own decoder settings. The load of that page takes the bitmap
// instead of decoding, provided the file it opens is still the file that
// was read; every other load, and every cancel, drops it. The worker sees
// only copies of what it needs (the storage root, the page's key) and its
// result slot: no viewer state, no control, no settings file.
#include <cstdio>
#include <string>

#include "core/viewer.h"
#include "image/page_loader.h"

namespace zeb {

// Read-ahead is refused for pages whose bitmap would be larger (bytes).
constexpr long long kMaxReadAheadBitmapBytes = 64LL << 20;

// Starts decoding page-list entry `index` (its path as the loader would be
// handed it) ahead, unless that very page is already being read ahead or
// ready. Work on any other page is cancelled first.
void read_ahead_page(Viewer& v, int index, const std::u16string& path);
// Cancels the work and drops its bitmap, without waiting for the decode.
void cancel_read_ahead(MainWindow& w);
// For the loader: the page read ahead for `key`, when `file` (the file the
// load opened) is the same file the worker read; else a null bitmap. Work
// on another page is cancelled; work on this page is waited for, since it
// is further on than a decode started now. Either way the read-ahead is
// used up.
DecodedPage take_read_ahead(MainWindow& w, const PageKey& key, std::FILE* file);

// Whether the page of `key` was handed to the worker and not yet used up.
bool read_ahead_requested(const MainWindow& w, const PageKey& key);

// Counts for tests and measurements.
struct ReadAheadCounts {
  int started = 0;  // jobs handed to the worker
  int adopted = 0;  // loads that took a bitmap read ahead
};
ReadAheadCounts read_ahead_counts(const MainWindow& w);
// Whether a page read ahead waits to be taken.
bool read_ahead_holds_page(const MainWindow& w);
// Blocks until the worker has finished what it was given (tests, bench).
void wait_for_read_ahead(MainWindow& w);

}  // namespace zeb
