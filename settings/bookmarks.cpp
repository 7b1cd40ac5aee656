#include "settings/bookmarks.h"

#include <algorithm>
#include <cstddef>

#include "app/control_ids.h"
#include "platform/files.h"
#include "platform/text.h"
#include "settings/paths.h"

namespace zeb {
namespace {

constexpr std::size_t kLineBuffer = 4096;                // bytes, zero included
constexpr std::size_t kLineRead = kLineBuffer - 1;       // bytes one line read takes
constexpr std::size_t kItemLimit = kLineBuffer - 3;      // room left for CR LF and zero

// Lead bytes of CP932 double-byte characters.
bool is_cp932_lead(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

// Cuts CP932 bytes to at most `limit` bytes without splitting a character,
// and at a NUL, where the zero-terminated line ends.
std::string_view cut_item(std::string_view bytes, std::size_t limit) {
  bytes = bytes.substr(0, bytes.find('\0'));
  std::size_t end = 0;
  while (end < bytes.size()) {
    const std::size_t step = is_cp932_lead(static_cast<unsigned char>(bytes[end])) ? 2 : 1;
    if (end + step > limit) break;
    end += step;
  }
  return bytes.substr(0, std::min(end, bytes.size()));
}

std::vector<std::u16string> history_items(const Viewer& v) {
  std::vector<std::u16string> items;
  const int count = v.dialog.item_count(ctl::folder_history);
  for (int i = 0; i < count; ++i) items.push_back(v.dialog.item_text(ctl::folder_history, i));
  return items;
}

}  // namespace

std::vector<std::u16string> parse_bookmarks(std::string_view bytes) {
  std::vector<std::u16string> items;
  while (!bytes.empty()) {
    const std::size_t lf = bytes.substr(0, kLineRead).find('\n');
    const std::size_t length = lf == std::string_view::npos ? std::min(bytes.size(), kLineRead) : lf + 1;
    std::string_view line = bytes.substr(0, length);
    bytes.remove_prefix(length);
    line = line.substr(0, line.find('\0'));
    items.push_back(text::from_cp932(line.substr(0, line.find_first_of("\r\n"))));
  }
  return items;
}

std::string format_bookmarks(const std::vector<std::u16string>& items) {
  std::string out;
  for (const auto& item : items) {
    out.append(cut_item(text::to_cp932(item), kItemLimit));
    out.append("\r\n");
  }
  return out;
}

void read_bookmarks(Viewer& v) {
  const std::string path = settings_file_path(v, u"auto_bk.dat");
  const auto bytes = platform::read_host_file(path);
  if (!bytes) {
    // Only a missing file is created; one that exists but cannot be read is
    // left alone rather than emptied.
    if (!platform::host_file_exists(path)) write_bookmarks(v);
    return;
  }
  v.dialog.clear_items(ctl::folder_history);
  const auto items = parse_bookmarks(*bytes);
  for (std::size_t i = 0; i < items.size(); ++i)
    v.dialog.insert_item(ctl::folder_history, static_cast<int>(i), items[i]);
}

bool write_bookmarks(Viewer& v) {
  const std::string path = settings_file_path(v, u"auto_bk.dat");
  return platform::replace_host_file(path, format_bookmarks(history_items(v)));
}

}  // namespace zeb
