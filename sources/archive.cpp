// ZIP archives browsed through their local file headers only. A page is a
// stored entry (compressed size equal to size) with a page name; the page
// loader hands the archive, positioned at the entry's data, to the decoder.
#include "sources/archive.h"

#include <array>
#include <cstdint>

#include "app/control_ids.h"
#include "image/page_loader.h"
#include "platform/text.h"
#include "sources/folders.h"

namespace zeb {

namespace {

constexpr std::uint32_t kLocalHeaderSignature = 0x04034b50;
constexpr int kMaxRecords = 3000;       // records examined, pages or not
constexpr std::size_t kHeaderBytes = 30;
constexpr std::size_t kMaxNameBytes = 255;
constexpr std::uint16_t kUtf8NameFlag = 0x0800;

std::uint32_t le16(const unsigned char* p) { return p[0] | (p[1] << 8); }
std::uint32_t le32(const unsigned char* p) {
  return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
         (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

struct LocalHeader {
  std::uint32_t signature = 0;
  std::uint32_t flags = 0;
  std::uint32_t compressed_size = 0;
  std::uint32_t size = 0;
  std::uint32_t name_length = 0;
  std::uint32_t extra_length = 0;
};

bool read_header(std::FILE* file, LocalHeader& header) {
  std::array<unsigned char, kHeaderBytes> b;
  if (std::fread(b.data(), 1, b.size(), file) != b.size()) return false;
  header.signature = le32(&b[0]);
  header.flags = le16(&b[6]);
  header.compressed_size = le32(&b[18]);
  header.size = le32(&b[22]);
  header.name_length = le16(&b[26]);
  header.extra_length = le16(&b[28]);
  return true;
}

std::int64_t file_size(std::FILE* file) {
  if (fseeko(file, 0, SEEK_END) != 0) return -1;
  std::int64_t size = ftello(file);
  if (fseeko(file, 0, SEEK_SET) != 0) return -1;
  return size;
}

// Reads and decodes the name that follows the header; empty when it could
// not be read.
std::u16string read_name(std::FILE* file, const LocalHeader& header) {
  std::string bytes(header.name_length, '\0');
  if (std::fread(bytes.data(), 1, bytes.size(), file) != bytes.size()) return {};
  if (header.flags & kUtf8NameFlag) return text::from_utf8(bytes);
  return text::from_cp932(bytes);
}

}  // namespace

std::vector<ArchiveEntry> list_archive_entries(std::FILE* file) {
  std::vector<ArchiveEntry> entries;
  std::int64_t end = file_size(file);
  std::int64_t record = 0;
  for (int examined = 0; end >= 0 && examined < kMaxRecords; ++examined) {
    LocalHeader header;
    if (!read_header(file, header) || header.signature != kLocalHeaderSignature) break;
    std::int64_t data = record + static_cast<std::int64_t>(kHeaderBytes) + header.name_length + header.extra_length;
    std::int64_t next = data + header.compressed_size;
    // A record that claims more bytes than the file holds is damaged or cut
    // short; nothing after it can be trusted.
    if (next > end) break;
    bool stored = header.compressed_size == header.size;
    if (stored && header.name_length <= kMaxNameBytes) {
      std::u16string name = read_name(file, header);
      if (is_page_name(name)) entries.push_back({std::move(name), data});
    }
    if (fseeko(file, next, SEEK_SET) != 0) break;
    record = next;
  }
  return entries;
}

void list_archive(Viewer& v) {
  auto& s = v.state;
  auto& d = v.dialog;
  free_page_bitmaps(v);
  platform::FilePtr file = v.platform.storage.open_read(s.LastDir);
  if (!file) return;
  std::vector<ArchiveEntry> entries = list_archive_entries(file.get());
  file.reset();
  for (int k = 0; k < static_cast<int>(entries.size()); ++k) {
    const ArchiveEntry& entry = entries[k];
    d.insert_item(ctl::page_list, k, entry.name);
    if (s.scan_first_match == 1 && entry.name == s.LastFName) {
      s.scan_first_match = 0;
      s.resume_index = k;
    }
    d.insert_item(ctl::archive_offsets, k, text::format("%lld", static_cast<long long>(entry.data_offset)));
  }
}

}  // namespace zeb
