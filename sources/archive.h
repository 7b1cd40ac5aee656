#pragma once
// ZIP archives read from their local file headers: stored and deflated JPEG
// entries. The file names ".zip" and ".cbz" name archives (is_archive_name).
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "core/archive_entry.h"
#include "core/viewer.h"

namespace zeb {

// Lists the page entries (stored or deflated) of an archive read from the
// file's start, in archive order.
std::vector<ArchiveEntry> list_archive_entries(std::FILE* file);
// The same entries in reading order: the order a folder's pages are in, on
// the whole names with their folder prefixes; entries of the same name keep
// their stored order.
std::vector<ArchiveEntry> list_archive_pages(std::FILE* file);

}  // namespace zeb
