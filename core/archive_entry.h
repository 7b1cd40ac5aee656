#pragma once
// One page entry of a ZIP archive as the page loader reads it: where its
// data starts and, for a deflated entry, what inflating it needs. The
// archive offset list carries entries as text, so that they move with
// their pages through every sort.
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zeb {

struct ArchiveEntry {
  std::u16string name;
  std::int64_t data_offset = 0;
  // A deflated entry is inflated into memory before decoding; any other is
  // read in place at its data offset.
  bool deflated = false;
  std::uint32_t compressed_size = 0;
  std::uint32_t size = 0;
  std::uint32_t crc = 0;
};

// The archive offset list's item for an entry: the decimal data offset,
// followed for a deflated entry by what inflating it needs. Sorting moves
// the item with its page, so the two never part.
std::u16string archive_offset_item(const ArchiveEntry& entry);
// The entry an offset list item describes (no name); a data offset of -1
// when the item holds no usable offset.
ArchiveEntry archive_entry_of_item(std::u16string_view item);

// Largest page a deflated entry may unpack to (bytes).
constexpr std::uint32_t kMaxInflatedBytes = 256u << 20;
// A deflated entry's bytes, inflated: nothing when the entry cannot be read,
// would unpack beyond kMaxInflatedBytes, fails to inflate to its declared
// size or does not match its CRC-32.
std::optional<std::vector<unsigned char>> read_deflated_entry(std::FILE* archive, const ArchiveEntry& entry);

}  // namespace zeb
