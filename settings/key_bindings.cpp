// The key binding file. Lines are read by position: line k + 1 holds the
// action of button slot k.
#include "settings/key_bindings.h"

#include <algorithm>
#include <optional>

#include "core/codes.h"
#include "host/files.h"
#include "host/text.h"
#include "settings/paths.h"
#include "settings/setting_file.h"
#include "settings/setting_lines.h"

namespace zeb {
namespace {

// The longest line read, in bytes; the rest of a longer line is the next one.
constexpr std::size_t kLineLimit = 254;

// A line is read as at most kLineLimit bytes up to and including its LF; a
// NUL ends it early.
std::string_view next_line(std::string_view& rest) {
  std::size_t length = std::min(rest.size(), kLineLimit);
  const std::size_t lf = rest.substr(0, length).find('\n');
  if (lf != std::string_view::npos) length = lf + 1;
  std::string_view line = rest.substr(0, length);
  rest.remove_prefix(length);
  return line.substr(0, line.find('\0'));
}

// The value text of a binding line: after the first "=", up to CR or LF.
std::string_view line_value(std::string_view line) {
  const std::size_t eq = line.find('=');
  if (eq == std::string_view::npos) return {};
  std::string_view value = line.substr(eq + 1);
  return value.substr(0, value.find_first_of("\r\n"));
}

}  // namespace

std::string key_file_path(Viewer& v) { return settings_file_path(v, u"key.cfg"); }

std::string key_bindings_text(const KeyActions& actions) {
  std::string out;
  for (int k = 0; k < kKeySlots; ++k) {
    out += text::to_utf8(text::format("AP%02d=%d\r\n", k, actions[k]));
  }
  return out;
}

// Lines are matched to slots by position only: the value on line k + 1 goes
// to slot k whatever the text before its "=" says; missing lines give 0.
KeyActions parse_key_bindings(std::string_view bytes) {
  take_encoding_mark(bytes);  // the values are digits in either encoding
  KeyActions actions{};
  for (int k = 0; k < kKeySlots; ++k) {
    actions[k] = text::parse_int(line_value(next_line(bytes)));
  }
  return actions;
}

}  // namespace zeb
