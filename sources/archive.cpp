// ZIP archives browsed through their local file headers, record by record
// from the front. A page is a JPEG-named entry that is deflated (method 8)
// or stored (compressed size equal to size). An entry whose local header
// leaves its sizes to a data descriptor takes them from the central
// directory; the listing then steps over the descriptor to the next record.
#include "sources/archive.h"

#include <array>
#include <map>

#include "core/control_ids.h"
#include "image/page_loader.h"
#include "platform/files.h"
#include "platform/natural_order.h"
#include "platform/text.h"
#include "sources/central_directory.h"
#include "sources/folders.h"
#include "sources/zip_bytes.h"

namespace zeb {

namespace {

constexpr std::uint32_t kLocalHeaderSignature = 0x04034b50;
constexpr std::uint32_t kCentralSignature = 0x02014b50;
constexpr std::uint32_t kDescriptorSignature = 0x08074b50;
constexpr int kMaxRecords = 3000;       // records examined, pages or not
constexpr std::size_t kHeaderBytes = 30;
constexpr std::size_t kMaxNameBytes = 255;
constexpr std::uint32_t kDescriptorFlag = 0x0008;
constexpr std::uint32_t kUtf8NameFlag = 0x0800;
constexpr std::uint32_t kDeflated = 8;

struct LocalHeader {
  std::uint32_t signature = 0;
  std::uint32_t flags = 0;
  std::uint32_t method = 0;
  std::uint32_t crc = 0;
  std::uint32_t compressed_size = 0;
  std::uint32_t size = 0;
  std::uint32_t name_length = 0;
  std::uint32_t extra_length = 0;

  // Streaming tools leave the compressed size 0 (some still fill in the
  // size) and write the real values after the data.
  bool sizes_in_descriptor() const { return (flags & kDescriptorFlag) && compressed_size == 0; }
};

bool read_header(std::FILE* file, LocalHeader& header) {
  std::array<unsigned char, kHeaderBytes> b;
  if (std::fread(b.data(), 1, b.size(), file) != b.size()) return false;
  header.signature = zip::le32(b.data());
  header.flags = zip::le16(&b[6]);
  header.method = zip::le16(&b[8]);
  header.crc = zip::le32(&b[14]);
  header.compressed_size = zip::le32(&b[18]);
  header.size = zip::le32(&b[22]);
  header.name_length = zip::le16(&b[26]);
  header.extra_length = zip::le16(&b[28]);
  return true;
}

// Names flagged as UTF-8 are UTF-8. Tools that write UTF-8 without the flag
// are common, and Shift-JIS text with a byte above 0x7F is almost never
// well-formed UTF-8, so such a name is read as UTF-8 too.
std::u16string decode_name(const std::string& bytes, std::uint32_t flags) {
  bool utf8 = (flags & kUtf8NameFlag) != 0;
  if (!utf8) {
    bool beyond_ascii = false;
    for (char c : bytes) beyond_ascii |= static_cast<unsigned char>(c) > 0x7F;
    utf8 = beyond_ascii && text::is_utf8(bytes);
  }
  return utf8 ? text::from_utf8(bytes) : text::from_cp932(bytes);
}

// Reads the name that follows the header. Empty for a name that does not
// fit the 255-byte name buffer or that holds a line break: the history file
// stores page names one per line.
std::u16string read_name(std::FILE* file, const LocalHeader& header) {
  if (header.name_length > kMaxNameBytes) return {};
  std::string bytes(header.name_length, '\0');
  if (std::fread(bytes.data(), 1, bytes.size(), file) != bytes.size()) return {};
  if (bytes.find_first_of("\r\n") != std::string::npos) return {};
  return decode_name(bytes, header.flags);
}

bool signature_at(std::FILE* file, std::int64_t offset, std::uint32_t& signature) {
  unsigned char b[4];
  if (!platform::seek_host_file(file, offset, SEEK_SET) || std::fread(b, 1, 4, file) != 4) return false;
  signature = zip::le32(b);
  return true;
}

// Length of the data descriptor at `at`: 12 bytes, 16 with its signature,
// 8 more for 64-bit sizes. The length after which the next record (or the
// central directory, or the end of the file) starts is taken; failing that,
// the plain 32-bit form.
std::int64_t descriptor_length(std::FILE* file, std::int64_t at, std::int64_t end) {
  std::uint32_t signature = 0;
  const bool signed_form = signature_at(file, at, signature) && signature == kDescriptorSignature;
  const std::int64_t lengths[2] = {signed_form ? 16 : 12, signed_form ? 24 : 20};
  for (std::int64_t length : lengths) {
    if (at + length == end) return length;
    if (signature_at(file, at + length, signature) &&
        (signature == kLocalHeaderSignature || signature == kCentralSignature))
      return length;
  }
  return lengths[0];
}

// What kind of page an entry can be, from its method and sizes.
enum class Kind { stored, deflated, skipped };

Kind kind_of(std::uint32_t method, std::uint32_t compressed_size, std::uint32_t size) {
  if (method == kDeflated) return Kind::deflated;
  return compressed_size == size ? Kind::stored : Kind::skipped;
}

// Walks the local headers from the front of the file.
class Lister {
 public:
  explicit Lister(std::FILE* file) : file_(file), end_(platform::host_file_size(file)) {}

  std::vector<ArchiveEntry> run() {
    for (int examined = 0; end_ >= 0 && examined < kMaxRecords; ++examined) {
      if (!list_record()) break;
    }
    return std::move(entries_);
  }

 private:
  // Lists the record at record_ and moves to the next one; false when the
  // listing ends.
  bool list_record() {
    LocalHeader h;
    if (!read_header(file_, h) || h.signature != kLocalHeaderSignature) return false;
    const std::int64_t data = record_ + static_cast<std::int64_t>(kHeaderBytes) + h.name_length + h.extra_length;
    bool sizes_known = !h.sizes_in_descriptor() || sizes_from_directory(h);
    // Without a directory to ask, the entry counts as one without data, and
    // the next record is looked for right at its data.
    std::int64_t next = data + h.compressed_size;
    // A record that claims more bytes than the file holds is damaged or cut
    // short; nothing after it can be trusted.
    if (next > end_) return false;
    Kind kind = kind_of(h.method, h.compressed_size, h.size);
    if (!sizes_known && kind == Kind::deflated) kind = Kind::skipped;
    if (kind != Kind::skipped) {
      std::u16string name = read_name(file_, h);
      if (is_page_name(name)) {
        entries_.push_back({std::move(name), data, kind == Kind::deflated, h.compressed_size, h.size, h.crc});
      }
    }
    if ((h.flags & kDescriptorFlag) && sizes_known) next += descriptor_length(file_, next, end_);
    if (next > end_ || !platform::seek_host_file(file_, next, SEEK_SET)) return false;
    record_ = next;
    return true;
  }

  // Takes an entry's sizes, CRC and method from the central directory,
  // read once when first needed. False when the directory has no record
  // for it.
  bool sizes_from_directory(LocalHeader& h) {
    if (!directory_read_) {
      directory_ = read_central_directory(file_, end_);
      directory_read_ = true;
      if (!platform::seek_host_file(file_, record_ + static_cast<std::int64_t>(kHeaderBytes), SEEK_SET)) return false;
    }
    auto found = directory_.find(record_);
    if (found == directory_.end()) return false;
    h.method = found->second.method;
    h.crc = found->second.crc;
    h.compressed_size = found->second.compressed_size;
    h.size = found->second.size;
    return true;
  }

  std::FILE* file_;
  std::int64_t end_;
  std::int64_t record_ = 0;
  std::vector<ArchiveEntry> entries_;
  bool directory_read_ = false;
  std::map<std::int64_t, CentralRecord> directory_;
};

// Packers store entries in the order their own directory search gave them,
// which is no reading order. The pages are listed in the order a folder's
// pages are, on the whole names with their folder prefixes; entries of the
// same name keep their stored order.
std::vector<ArchiveEntry> in_reading_order(std::vector<ArchiveEntry> entries) {
  std::vector<std::string> utf8(entries.size());
  std::vector<std::string_view> names(entries.size());
  for (std::size_t i = 0; i < entries.size(); ++i) {
    utf8[i] = text::to_utf8(entries[i].name);
    names[i] = utf8[i];
  }
  std::vector<ArchiveEntry> ordered;
  ordered.reserve(entries.size());
  for (std::size_t i : platform::natural_order(names)) ordered.push_back(std::move(entries[i]));
  return ordered;
}

}  // namespace

std::vector<ArchiveEntry> list_archive_entries(std::FILE* file) { return Lister(file).run(); }

void list_archive(Viewer& v) {
  auto& s = v.state;
  auto& d = v.dialog;
  free_page_bitmaps(v.window);
  platform::FilePtr file = v.platform.storage.open_read(s.LastDir);
  if (!file) return;
  const std::vector<ArchiveEntry> entries = in_reading_order(list_archive_entries(file.get()));
  file.reset();
  for (int k = 0; k < static_cast<int>(entries.size()); ++k) {
    const ArchiveEntry& entry = entries[k];
    d.insert_item(ctl::page_list, k, entry.name);
    if (s.scan_first_match == 1 && entry.name == s.LastFName) {
      s.scan_first_match = 0;
      s.resume_index = k;
    }
    d.insert_item(ctl::archive_offsets, k, archive_offset_item(entry));
  }
}

}  // namespace zeb
