#pragma once
// ZIP archives read from their local file headers: stored JPEG entries.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "app/viewer.h"

namespace zeb {

struct ArchiveEntry {
  std::u16string name;
  std::int64_t data_offset = 0;
};
// Lists the stored page entries of an archive read from the file's start.
std::vector<ArchiveEntry> list_archive_entries(std::FILE* file);
// The archive listing of open_location: fills the page and offset lists.
void list_archive(Viewer& v);

}  // namespace zeb
