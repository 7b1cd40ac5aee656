#pragma once
// ZIP archives read from their local file headers: stored and deflated JPEG
// entries. The file names ".zip" and ".cbz" name archives (is_archive_name).
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "core/viewer.h"
#include "image/archive_entry.h"

namespace zeb {

// Lists the page entries (stored or deflated) of an archive read from the
// file's start, in archive order.
std::vector<ArchiveEntry> list_archive_entries(std::FILE* file);
// The archive listing of open_location: fills the page and offset lists,
// the pages in natural order (the order of a folder's pages).
void list_archive(Viewer& v);

}  // namespace zeb
