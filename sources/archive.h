#pragma once
// ZIP archives read from their local file headers: stored and deflated JPEG
// entries. The file names ".zip" and ".cbz" name archives (is_archive_name).
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "core/viewer.h"
#include "core/archive_entry.h"

namespace zeb {

// Lists the page entries (stored or deflated) of an archive read from the
// file's start, in archive order.
std::vector<ArchiveEntry> list_archive_entries(std::FILE* file);

}  // namespace zeb
