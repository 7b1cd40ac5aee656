#pragma once
// What makes an open file the same file as before: device, inode, size and
// the nanosecond modification and status-change times. A file rewritten in
// place, replaced by a rename or touched changes at least one of them.
#include <cstdint>
#include <cstdio>
#include <optional>

namespace zeb::platform {

struct FileIdentity {
  std::uint64_t device = 0, inode = 0;
  std::int64_t size = 0;
  std::int64_t modified_ns = 0, changed_ns = 0;
  bool operator==(const FileIdentity&) const = default;
};

// The identity of an open file; nullopt when the host cannot tell it.
std::optional<FileIdentity> identify_file(std::FILE* file);

}  // namespace zeb::platform
