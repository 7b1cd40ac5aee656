#include "host/file_identity.h"

#include <sys/stat.h>

namespace zeb::platform {
namespace {

std::int64_t nanoseconds(const timespec& t) { return static_cast<std::int64_t>(t.tv_sec) * 1'000'000'000 + t.tv_nsec; }

}  // namespace

std::optional<FileIdentity> identify_file(std::FILE* file) {
  struct stat st {};
  if (!file || ::fstat(::fileno(file), &st) != 0) return std::nullopt;
  return FileIdentity{static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino),
                      static_cast<std::int64_t>(st.st_size), nanoseconds(st.st_mtim), nanoseconds(st.st_ctim)};
}

}  // namespace zeb::platform
