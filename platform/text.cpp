// Placeholder until the text helpers land.
#include "platform/text.h"
#include <cstdarg>
#include <cstdio>
namespace zeb::text {
std::u16string from_utf8(std::string_view s) { return std::u16string(s.begin(), s.end()); }
std::string to_utf8(std::u16string_view s) { std::string r; for (auto c : s) r += static_cast<char>(c); return r; }
std::string to_cp932(std::u16string_view s) { return to_utf8(s); }
std::u16string from_cp932(std::string_view s) { return from_utf8(s); }
std::u16string ascii_lower(std::u16string_view s) { std::u16string r(s); for (auto& c : r) if (c >= u'A' && c <= u'Z') c += 32; return r; }
bool ends_with(std::u16string_view t, std::u16string_view tail) { return t.size() >= tail.size() && t.substr(t.size() - tail.size()) == tail; }
int parse_int(std::string_view) { return 0; }
int parse_int(std::u16string_view) { return 0; }
std::u16string from_int(long long v) { return from_utf8(std::to_string(v)); }
std::u16string format(const char* fmt, ...) { char buf[512]; va_list ap; va_start(ap, fmt); vsnprintf(buf, sizeof buf, fmt, ap); va_end(ap); return from_utf8(buf); }
}
