#include "settings/bookmarks.h"

#include <algorithm>
#include <cstddef>

#include "core/control_ids.h"
#include "host/files.h"
#include "host/text.h"
#include "settings/paths.h"
#include "settings/setting_file.h"
#include "settings/setting_lines.h"

namespace zeb {
namespace {

constexpr std::size_t kLineBuffer = 4096;                // bytes, zero included
constexpr std::size_t kLineRead = kLineBuffer - 1;       // bytes one line read takes
constexpr std::size_t kItemLimit = kLineBuffer - 3;      // room left for CR LF and zero
// A UTF-8 line may be half as long again: a double-byte CP932 character
// takes three bytes in UTF-8.
constexpr std::size_t kUtf8LineRead = kLineRead * 3 / 2;
constexpr std::size_t kUtf8ItemLimit = kItemLimit * 3 / 2;

// Lead bytes of CP932 double-byte characters.
bool is_cp932_lead(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
bool is_utf8_continuation(char b) { return (static_cast<unsigned char>(b) & 0xC0) == 0x80; }

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

// Length of UTF-8 bytes cut to at most `limit` bytes, moved back to the
// start of a character (a character has at most three continuation bytes).
std::size_t utf8_cut(std::string_view bytes, std::size_t limit) {
  if (bytes.size() <= limit) return bytes.size();
  std::size_t end = limit;
  for (int back = 0; back < 3 && end > 1 && is_utf8_continuation(bytes[end]); ++back) --end;
  return end;
}

// The UTF-16 text of an item as far as its line can hold it (up to a NUL),
// and whether CP932 holds that much of it exactly.
bool item_fits_cp932(std::u16string_view item) {
  item = item.substr(0, item.find(u'\0'));
  const std::u16string back = text::from_cp932(cut_item(text::to_cp932(item), kItemLimit));
  return item.substr(0, back.size()) == back;
}

// Bytes one line read takes from the start of `bytes`: up to and including
// the first LF, else as many as the line buffer holds (in UTF-8, never
// ending inside a character).
std::size_t next_line_length(std::string_view bytes, SettingEncoding encoding) {
  const bool utf8 = encoding == SettingEncoding::utf8;
  const std::size_t read = utf8 ? kUtf8LineRead : kLineRead;
  const std::size_t lf = bytes.substr(0, read).find('\n');
  if (lf != std::string_view::npos) return lf + 1;
  return utf8 ? utf8_cut(bytes, read) : std::min(bytes.size(), read);
}

}  // namespace

std::vector<std::u16string> parse_bookmarks(std::string_view bytes) {
  const SettingEncoding encoding = take_encoding_mark(bytes);
  std::vector<std::u16string> items;
  while (!bytes.empty()) {
    const std::size_t length = next_line_length(bytes, encoding);
    std::string_view line = bytes.substr(0, length);
    bytes.remove_prefix(length);
    line = line.substr(0, line.find('\0'));
    items.push_back(decode_setting(line.substr(0, line.find_first_of("\r\n")), encoding));
  }
  return items;
}

std::string format_bookmarks(const std::vector<std::u16string>& items) {
  const bool cp932 = std::all_of(items.begin(), items.end(), item_fits_cp932);
  std::string out(encoding_mark(cp932 ? SettingEncoding::cp932 : SettingEncoding::utf8));
  for (const auto& item : items) {
    if (cp932) {
      out.append(cut_item(text::to_cp932(item), kItemLimit));
    } else {
      const std::string bytes = text::to_utf8(std::u16string_view(item).substr(0, item.find(u'\0')));
      out.append(bytes, 0, utf8_cut(bytes, kUtf8ItemLimit));
    }
    out.append("\r\n");
  }
  return out;
}

std::optional<std::string> read_bookmarks(Viewer& v) {
  const std::string path = settings_file_path(v, kBookmarkFileName);
  std::optional<std::string> on_disk = read_setting_file(path, kBookmarkFileLimit);
  if (!on_disk) {
    // Only a missing file is created; one that exists but cannot be read is
    // left alone rather than emptied.
    if (platform::host_path_missing(path) && write_bookmarks(v)) on_disk = bookmark_bytes(v.dialog);
    return on_disk;
  }
  v.dialog.clear_items(ctl::folder_history);
  const auto items = parse_bookmarks(*on_disk);
  for (std::size_t i = 0; i < items.size(); ++i)
    v.dialog.insert_item(ctl::folder_history, static_cast<int>(i), items[i]);
  return on_disk;
}

std::string bookmark_bytes(const platform::Dialog& d) {
  const platform::Control* history = d.find(ctl::folder_history);
  return format_bookmarks(history ? history->items : std::vector<std::u16string>{});
}

bool write_bookmarks(Viewer& v) {
  const std::string path = settings_file_path(v, kBookmarkFileName);
  return platform::replace_host_file(path, bookmark_bytes(v.dialog));
}

}  // namespace zeb
