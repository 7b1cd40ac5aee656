#pragma once
// The line syntax shared by the settings files: one "key=value" item per
// line, matched to fields by position only, values ending at the CR or LF of
// their line. Works on bytes so that a test or a fuzzer can call it.
#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace zeb {

// A settings file is CP932 when every line it holds fits that code page, so
// files that other copies of the viewer read stay in the code page they
// expect; otherwise it is UTF-8 throughout, behind the UTF-8 byte order mark.
enum class SettingEncoding { cp932, utf8 };
constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

// Takes a leading byte order mark off the bytes: UTF-8 when there was one.
SettingEncoding take_encoding_mark(std::string_view& bytes);
// The mark a file of the encoding starts with (empty for CP932).
std::string_view encoding_mark(SettingEncoding encoding);
// The encoding a file holding these texts is written in. Each text counts as
// far as a line can hold it (up to its first CR, LF or NUL).
SettingEncoding encoding_for(std::initializer_list<std::u16string_view> texts);
std::u16string decode_setting(std::string_view bytes, SettingEncoding encoding);
std::string encode_setting(std::u16string_view text, SettingEncoding encoding);

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
