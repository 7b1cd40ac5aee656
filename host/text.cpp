// Text conversion between the viewer's UTF-16, host UTF-8 and the CP932 code
// page of the settings files and ZIP names, plus small string helpers.
#include "host/text.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdarg>
#include <cstdio>
#include <vector>

namespace zeb::text {
namespace {

constexpr char16_t kReplacement = 0xFFFD;

// One iconv descriptor per direction and thread, opened on first use. The
// descriptor's shift state is reset before every conversion.
class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Converter() {
    if (valid()) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;
  // iconv_open reports failure as (iconv_t)-1.
  bool valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }  // NOLINT(performance-no-int-to-ptr)
  iconv_t get() const { return cd_; }

 private:
  iconv_t cd_;
};

// Converts bytes with iconv. Whenever the input cannot be converted,
// on_bad(in, left, out) appends a replacement and returns how many input
// bytes to skip (at least 1).
template <typename OnBad>
std::string convert(const Converter& conv, std::string_view input, OnBad on_bad) {
  std::string out;
  if (!conv.valid()) return out;
  iconv(conv.get(), nullptr, nullptr, nullptr, nullptr);
  out.reserve(input.size() * 2 + 8);
  char* in = const_cast<char*>(input.data());
  size_t in_left = input.size();
  char buffer[1024];
  while (in_left > 0) {
    char* dst = buffer;
    size_t dst_left = sizeof buffer;
    size_t r = iconv(conv.get(), &in, &in_left, &dst, &dst_left);
    out.append(buffer, static_cast<size_t>(dst - buffer));
    if (r != static_cast<size_t>(-1) || errno == E2BIG) continue;
    size_t skip = on_bad(in, in_left, out);
    if (skip > in_left) skip = in_left;
    in += skip;
    in_left -= skip;
    iconv(conv.get(), nullptr, nullptr, nullptr, nullptr);
  }
  return out;
}

std::string utf16_bytes(std::u16string_view text) {
  std::string bytes;
  bytes.reserve(text.size() * 2);
  for (char16_t c : text) {
    bytes.push_back(static_cast<char>(c & 0xFF));
    bytes.push_back(static_cast<char>(c >> 8));
  }
  return bytes;
}

std::u16string from_utf16_bytes(const std::string& bytes) {
  std::u16string text;
  text.reserve(bytes.size() / 2);
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
    auto lo = static_cast<unsigned char>(bytes[i]);
    auto hi = static_cast<unsigned char>(bytes[i + 1]);
    text.push_back(static_cast<char16_t>(lo | (hi << 8)));
  }
  return text;
}

void append_unit(std::string& utf16le, char16_t c) {
  utf16le.push_back(static_cast<char>(c & 0xFF));
  utf16le.push_back(static_cast<char>(c >> 8));
}

// Input bytes of the UTF-16LE unit (or surrogate pair) that failed to convert.
size_t failed_unit_bytes(const char* in, size_t left) {
  if (left < 4) return 2;
  auto unit = [&](size_t i) {
    return static_cast<char16_t>(static_cast<unsigned char>(in[i]) | (static_cast<unsigned char>(in[i + 1]) << 8));
  };
  bool pair = unit(0) >= 0xD800 && unit(0) < 0xDC00 && unit(2) >= 0xDC00 && unit(2) < 0xE000;
  return pair ? 4 : 2;
}

// Decodes into UTF-16: every byte that starts no valid sequence is U+FFFD.
std::u16string decode(const Converter& conv, std::string_view bytes) {
  std::string utf16 = convert(conv, bytes, [](const char*, size_t, std::string& out) {
    append_unit(out, kReplacement);
    return size_t{1};
  });
  return from_utf16_bytes(utf16);
}

bool is_blank(char32_t c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

template <typename Char>
int parse_int_units(std::basic_string_view<Char> text) {
  size_t i = 0;
  while (i < text.size() && is_blank(static_cast<char32_t>(text[i]))) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  long long value = 0;
  const long long limit = negative ? -static_cast<long long>(INT_MIN) : INT_MAX;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10 + (text[i] - '0');
    if (value >= limit) {
      value = limit;
      break;
    }
  }
  return static_cast<int>(negative ? -value : value);
}

}  // namespace

std::u16string from_utf8(std::string_view utf8) {
  // ASCII, as most file names are, reads the same in both forms.
  if (std::all_of(utf8.begin(), utf8.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
    return std::u16string(utf8.begin(), utf8.end());
  thread_local Converter conv("UTF-16LE", "UTF-8");
  return decode(conv, utf8);
}

std::string to_utf8(std::u16string_view text) {
  if (std::all_of(text.begin(), text.end(), [](char16_t c) { return c < 0x80; }))
    return std::string(text.begin(), text.end());
  thread_local Converter conv("UTF-8", "UTF-16LE");
  // A lone surrogate has no UTF-8 form; it is written as U+FFFD.
  return convert(conv, utf16_bytes(text), [](const char* in, size_t left, std::string& out) {
    out += "\xEF\xBF\xBD";
    return failed_unit_bytes(in, left);
  });
}

bool is_utf8(std::string_view bytes) {
  size_t i = 0;
  while (i < bytes.size()) {
    const auto lead = static_cast<unsigned char>(bytes[i]);
    if (lead < 0x80) {
      ++i;
      continue;
    }
    // Length of the sequence and the range its second byte must lie in,
    // which rules out overlong forms, surrogates and values past U+10FFFF.
    size_t length;
    unsigned char low = 0x80, high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
      length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      length = 3;
      if (lead == 0xE0) low = 0xA0;
      if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      length = 4;
      if (lead == 0xF0) low = 0x90;
      if (lead == 0xF4) high = 0x8F;
    } else {
      return false;
    }
    if (bytes.size() - i < length) return false;
    for (size_t k = 1; k < length; ++k) {
      const auto c = static_cast<unsigned char>(bytes[i + k]);
      if (c < (k == 1 ? low : 0x80) || c > (k == 1 ? high : 0xBF)) return false;
    }
    i += length;
  }
  return true;
}

std::string to_cp932(std::u16string_view text) {
  thread_local Converter conv("CP932", "UTF-16LE");
  // The code page would store the yen sign and the overline as the bytes of
  // "\" and "~", which read back as those ASCII characters; a yen in a folder
  // name would then turn into a path separator. They count as unrepresentable.
  std::u16string safe(text);
  for (char16_t& c : safe) {
    if (c == 0x00A5 || c == 0x203E) c = u'?';
  }
  return convert(conv, utf16_bytes(safe), [](const char* in, size_t left, std::string& out) {
    out.push_back('?');
    return failed_unit_bytes(in, left);
  });
}

std::u16string from_cp932(std::string_view bytes) {
  thread_local Converter conv("UTF-16LE", "CP932");
  return decode(conv, bytes);
}

bool fits_cp932(std::u16string_view text) { return from_cp932(to_cp932(text)) == text; }

std::u16string ascii_lower(std::u16string_view text) {
  std::u16string lower(text);
  for (char16_t& c : lower) c = ascii_lower(c);
  return lower;
}

bool ends_with(std::u16string_view text, std::u16string_view tail) {
  return text.size() >= tail.size() && text.substr(text.size() - tail.size()) == tail;
}

int parse_int(std::string_view text) { return parse_int_units(text); }
int parse_int(std::u16string_view text) { return parse_int_units(text); }

std::u16string from_int(long long value) { return from_utf8(std::to_string(value)); }

std::u16string format(const char* fmt, ...) {
  va_list args;
  va_start(args, fmt);
  va_list again;
  va_copy(again, args);
  char small[256];
  int needed = std::vsnprintf(small, sizeof small, fmt, args);
  va_end(args);
  std::u16string result;
  if (needed < 0) {
    va_end(again);
    return result;
  }
  if (static_cast<size_t>(needed) < sizeof small) {
    result = from_utf8(std::string_view(small, static_cast<size_t>(needed)));
  } else {
    std::vector<char> large(static_cast<size_t>(needed) + 1);
    std::vsnprintf(large.data(), large.size(), fmt, again);
    result = from_utf8(std::string_view(large.data(), static_cast<size_t>(needed)));
  }
  va_end(again);
  return result;
}

}  // namespace zeb::text
