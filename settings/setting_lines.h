#pragma once
// The line syntax shared by the settings files: one "key=value" item per
// line, matched to fields by position only, values ending at the CR or LF of
// their line. Works on bytes so that a test or a fuzzer can call it.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace zeb {

// The lines of a settings file, each whole however long it is, so a long
// value can never spill into the fields after it. A line ends at LF; a last
// line may end without one.
std::vector<std::string_view> split_setting_lines(std::string_view bytes);

// The value of line `index` (0-based): the text after the line's first "="
// up to its first CR, LF or NUL. Empty when the line is missing or holds
// no "=".
std::string_view setting_value(const std::vector<std::string_view>& lines, std::size_t index);

// The leading signed decimal of line `index`'s value (C string-to-integer
// rule: 0 when there is none).
int setting_int(const std::vector<std::string_view>& lines, std::size_t index);

// Appends "key=value" and CR LF.
void append_setting(std::string& out, std::string_view key, std::string_view value);
void append_setting(std::string& out, std::string_view key, int value);

}  // namespace zeb
