// An archive entry as the archive offset list keeps it, and the reading of
// a deflated entry into memory.
#include "core/archive_entry.h"

#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "host/files.h"
#include "host/inflate.h"
#include "host/text.h"

namespace zeb {

namespace {

// Longest item text that is read back: an offset and four 32-bit fields.
constexpr std::size_t kMaxItemBytes = 80;

}  // namespace

std::u16string archive_offset_item(const ArchiveEntry& entry) {
  if (!entry.deflated) return text::format("%lld", static_cast<long long>(entry.data_offset));
  // Offset, method, compressed size, size, CRC-32.
  return text::format("%lld 8 %" PRIu32 " %" PRIu32 " %" PRIu32, static_cast<long long>(entry.data_offset),
                      entry.compressed_size, entry.size, entry.crc);
}

ArchiveEntry archive_entry_of_item(std::u16string_view item) {
  ArchiveEntry entry;
  const std::string bytes = text::to_utf8(item.substr(0, kMaxItemBytes));
  long long offset = -1;
  unsigned method = 0;
  unsigned long compressed = 0, size = 0, crc = 0;
  const int fields = std::sscanf(bytes.c_str(), "%lld %u %lu %lu %lu", &offset, &method, &compressed, &size, &crc);
  entry.data_offset = fields >= 1 && offset >= 0 ? offset : -1;
  if (fields == 5 && method == 8 && compressed <= UINT32_MAX && size <= UINT32_MAX && crc <= UINT32_MAX) {
    entry.deflated = true;
    entry.compressed_size = static_cast<std::uint32_t>(compressed);
    entry.size = static_cast<std::uint32_t>(size);
    entry.crc = static_cast<std::uint32_t>(crc);
  } else if (fields > 1) {
    entry.data_offset = -1;  // not an item this viewer wrote
  }
  return entry;
}

std::optional<std::vector<unsigned char>> read_deflated_entry(std::FILE* archive, const ArchiveEntry& entry) {
  if (!archive || !entry.deflated || entry.data_offset < 0 || entry.size > kMaxInflatedBytes) return std::nullopt;
  // Deflate never grows data by more than a few bytes per 16 KiB block, so
  // a page within the cap never needs more input than this.
  const std::uint64_t most_input = static_cast<std::uint64_t>(kMaxInflatedBytes) + (kMaxInflatedBytes >> 10) + 64;
  if (entry.compressed_size > most_input) return std::nullopt;
  std::string compressed(entry.compressed_size, '\0');
  if (!platform::seek_host_file(archive, entry.data_offset, SEEK_SET)) return std::nullopt;
  if (std::fread(compressed.data(), 1, compressed.size(), archive) != compressed.size()) return std::nullopt;
  std::optional<std::vector<unsigned char>> bytes = platform::inflate_raw(compressed, entry.size);
  if (!bytes || platform::crc32_of(bytes->data(), bytes->size()) != entry.crc) return std::nullopt;
  return bytes;
}

}  // namespace zeb
