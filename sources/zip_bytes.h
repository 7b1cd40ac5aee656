#pragma once
// Little-endian fields of ZIP records.
#include <cstdint>

namespace zeb::zip {

inline std::uint32_t le16(const unsigned char* p) { return p[0] | (p[1] << 8); }
inline std::uint32_t le32(const unsigned char* p) {
  return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
         (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

}  // namespace zeb::zip
