#pragma once
// Text helpers: the viewer keeps text as UTF-16; settings files and ZIP names
// use the CP932 (Shift-JIS) code page; host file names are UTF-8.
#include <string>
#include <string_view>

namespace zeb::text {

std::u16string from_utf8(std::string_view utf8);
std::string to_utf8(std::u16string_view text);
// True for well-formed UTF-8: no stray or missing continuation bytes, no
// overlong forms, no surrogates, nothing beyond U+10FFFF.
bool is_utf8(std::string_view bytes);

// CP932 conversion. Characters CP932 cannot hold become '?' when encoding;
// invalid byte sequences become U+FFFD when decoding.
std::string to_cp932(std::u16string_view text);
std::u16string from_cp932(std::string_view bytes);
// True when CP932 holds the text exactly: converted to CP932 and back it is
// the same UTF-16 (some characters convert one way only, e.g. U+301C).
bool fits_cp932(std::u16string_view text);

// Maps A-Z to a-z and leaves every other unit alone.
constexpr char16_t ascii_lower(char16_t c) {
  return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + (u'a' - u'A')) : c;
}
std::u16string ascii_lower(std::u16string_view text);
bool ends_with(std::u16string_view text, std::u16string_view tail);

// The C library's string-to-integer rule: optional blanks, optional sign,
// leading decimal digits; no digits gives 0. Values beyond int saturate.
int parse_int(std::string_view text);
int parse_int(std::u16string_view text);

std::u16string from_int(long long value);
// printf-style formatting of ASCII formats into UTF-16, e.g. "%4d/%4d[".
std::u16string format(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

}  // namespace zeb::text
