#include "settings/setting_file.h"

#include "host/files.h"

namespace zeb {

std::optional<std::string> read_setting_file(const std::string& path, std::size_t limit) {
  std::optional<std::string> bytes = platform::read_host_file(path, limit + 1);
  if (bytes && bytes->size() > limit) {
    const std::size_t lf = bytes->rfind('\n', limit - 1);
    bytes->resize(lf == std::string::npos ? 0 : lf + 1);
  }
  return bytes;
}

}  // namespace zeb
