#include "settings/setting_lines.h"

#include "host/text.h"

namespace zeb {

SettingEncoding take_encoding_mark(std::string_view& bytes) {
  if (bytes.substr(0, kUtf8Mark.size()) != kUtf8Mark) return SettingEncoding::cp932;
  bytes.remove_prefix(kUtf8Mark.size());
  return SettingEncoding::utf8;
}

std::string_view encoding_mark(SettingEncoding encoding) {
  return encoding == SettingEncoding::utf8 ? kUtf8Mark : std::string_view();
}

SettingEncoding encoding_for(std::initializer_list<std::u16string_view> texts) {
  for (std::u16string_view text : texts) {
    if (!text::fits_cp932(text.substr(0, text.find_first_of(std::u16string_view(u"\r\n\0", 3)))))
      return SettingEncoding::utf8;
  }
  return SettingEncoding::cp932;
}

std::u16string decode_setting(std::string_view bytes, SettingEncoding encoding) {
  return encoding == SettingEncoding::utf8 ? text::from_utf8(bytes) : text::from_cp932(bytes);
}

std::string encode_setting(std::u16string_view text, SettingEncoding encoding) {
  return encoding == SettingEncoding::utf8 ? text::to_utf8(text) : text::to_cp932(text);
}

std::vector<std::string_view> split_setting_lines(std::string_view bytes) {
  std::vector<std::string_view> lines;
  while (!bytes.empty()) {
    const std::size_t lf = bytes.find('\n');
    const std::size_t length = lf == std::string_view::npos ? bytes.size() : lf + 1;
    lines.push_back(bytes.substr(0, length));
    bytes.remove_prefix(length);
  }
  return lines;
}

std::string_view setting_value(const std::vector<std::string_view>& lines, std::size_t index) {
  if (index >= lines.size()) return {};
  std::string_view line = lines[index];
  // The line is a C string to the reader: a NUL ends it.
  line = line.substr(0, line.find('\0'));
  const std::size_t equals = line.find('=');
  if (equals == std::string_view::npos) return {};
  const std::string_view value = line.substr(equals + 1);
  return value.substr(0, value.find_first_of("\r\n"));
}

int setting_int(const std::vector<std::string_view>& lines, std::size_t index) {
  return text::parse_int(setting_value(lines, index));
}

void append_setting(std::string& out, std::string_view key, std::string_view value) {
  out.append(key);
  out.push_back('=');
  // A value stops at the first CR, LF or NUL, where the reader stops too, so
  // no value can ever add a line and shift the fields after it.
  out.append(value.substr(0, value.find_first_of(std::string_view("\r\n\0", 3))));
  out.append("\r\n");
}

void append_setting(std::string& out, std::string_view key, int value) {
  append_setting(out, key, std::to_string(value));
}

}  // namespace zeb
