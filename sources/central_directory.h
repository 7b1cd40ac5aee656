#pragma once
// The central directory at the end of a ZIP archive, read only for entries
// whose local header leaves their sizes to a data descriptor.
#include <cstdint>
#include <cstdio>
#include <map>

namespace zeb {

struct CentralRecord {
  std::uint32_t method = 0;
  std::uint32_t crc = 0;
  std::uint32_t compressed_size = 0;
  std::uint32_t size = 0;
};

// The records of the central directory keyed by the offset of their local
// header; empty when the archive has no readable directory. `file_size` is
// the archive's length in bytes.
std::map<std::int64_t, CentralRecord> read_central_directory(std::FILE* file, std::int64_t file_size);

}  // namespace zeb
