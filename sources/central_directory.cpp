// Finding and reading the central directory: the end record is searched
// backwards from the end of the file (it may be followed by a comment of up
// to 65535 bytes), then the directory it points at is read as one block.
#include "sources/central_directory.h"

#include <algorithm>
#include <string>

#include "host/files.h"
#include "sources/zip_bytes.h"

namespace zeb {
namespace {

constexpr std::uint32_t kEndSignature = 0x06054b50;
constexpr std::uint32_t kCentralSignature = 0x02014b50;
constexpr std::int64_t kEndBytes = 22;
constexpr std::int64_t kMaxComment = 65535;
constexpr std::int64_t kCentralBytes = 46;
// A directory of 3000 records with the longest names, extras and comments
// would be far larger; real ones of that many pages stay below a few MiB.
constexpr std::int64_t kMaxDirectoryBytes = 64 << 20;

bool read_at(std::FILE* file, std::int64_t offset, std::string& bytes) {
  return platform::seek_host_file(file, offset, SEEK_SET) &&
         std::fread(bytes.data(), 1, bytes.size(), file) == bytes.size();
}

struct Directory {
  std::int64_t offset = 0, size = 0;
};

// The directory the last end record points at, when it lies in the file
// before that record.
bool find_directory(std::FILE* file, std::int64_t file_size, Directory& dir) {
  const std::int64_t tail_size = std::min(file_size, kEndBytes + kMaxComment);
  if (tail_size < kEndBytes) return false;
  std::string tail(static_cast<std::size_t>(tail_size), '\0');
  if (!read_at(file, file_size - tail_size, tail)) return false;
  const auto* t = reinterpret_cast<const unsigned char*>(tail.data());
  for (std::int64_t at = tail_size - kEndBytes; at >= 0; --at) {
    if (zip::le32(t + at) != kEndSignature) continue;
    const std::int64_t end_record = file_size - tail_size + at;
    dir.size = zip::le32(t + at + 12);
    dir.offset = zip::le32(t + at + 16);
    if (dir.offset + dir.size <= end_record && dir.size <= kMaxDirectoryBytes) return true;
  }
  return false;
}

}  // namespace

std::map<std::int64_t, CentralRecord> read_central_directory(std::FILE* file, std::int64_t file_size) {
  std::map<std::int64_t, CentralRecord> records;
  Directory dir;
  if (!find_directory(file, file_size, dir)) return records;
  std::string bytes(static_cast<std::size_t>(dir.size), '\0');
  if (!read_at(file, dir.offset, bytes)) return records;
  const auto* b = reinterpret_cast<const unsigned char*>(bytes.data());
  for (std::int64_t at = 0; at + kCentralBytes <= dir.size;) {
    const unsigned char* r = b + at;
    if (zip::le32(r) != kCentralSignature) break;
    CentralRecord record;
    record.method = zip::le16(r + 10);
    record.crc = zip::le32(r + 16);
    record.compressed_size = zip::le32(r + 20);
    record.size = zip::le32(r + 24);
    records.emplace(zip::le32(r + 42), record);
    at += kCentralBytes + zip::le16(r + 28) + zip::le16(r + 30) + zip::le16(r + 32);
  }
  return records;
}

}  // namespace zeb
