// Code-page conversion and the small text helpers.
#include <gtest/gtest.h>

#include <string>

#include "host/text.h"

namespace zeb::text {
namespace {

TEST(PlatformText, cp932_round_trip_keeps_japanese_and_ascii_lookalikes) {
  // Kanji, hiragana, half-width katakana, the full-width tilde, and the two
  // bytes whose glyph differs on Japanese systems ("\" and "~").
  const std::u16string name = u"\\本\\ほん~ｱｲｳ～.jpg";
  const std::string bytes = to_cp932(name);
  EXPECT_EQ(bytes, "\x5C\x96\x7B\x5C\x82\xD9\x82\xF1\x7E\xB1\xB2\xB3\x81\x60.jpg");
  EXPECT_EQ(from_cp932(bytes), name);
  // Every single-byte half-width katakana reads back as itself.
  for (int b = 0xA1; b <= 0xDF; ++b) {
    std::string one(1, static_cast<char>(b));
    std::u16string wide = from_cp932(one);
    ASSERT_EQ(wide.size(), 1u) << b;
    EXPECT_EQ(wide[0], 0xFF61 + (b - 0xA1));
    EXPECT_EQ(to_cp932(wide), one);
  }
}

TEST(PlatformText, cp932_writes_question_marks_for_what_it_cannot_hold) {
  EXPECT_EQ(to_cp932(u"a\U0001F600b"), "a?b");  // one mark for a surrogate pair
  EXPECT_EQ(to_cp932(u"가x"), "?x");           // Hangul
  std::u16string lone = u"x";
  lone += static_cast<char16_t>(0xD800);
  lone += u"y";
  EXPECT_EQ(to_cp932(lone), "x?y");
  // The yen sign and overline would come back as "\" and "~": a yen in a
  // folder name must not turn into a path separator.
  EXPECT_EQ(to_cp932(u"a¥b‾c"), "a?b?c");
}

TEST(PlatformText, cp932_decodes_bad_bytes_as_replacement_characters) {
  EXPECT_EQ(from_cp932("a\x81"), u"a\uFFFD");       // lead byte cut off at the end
  EXPECT_EQ(from_cp932("\x81\x20z"), u"\uFFFD z");  // bad trail byte is kept
  EXPECT_EQ(from_cp932(std::string("\x80x\0y", 4)), std::u16string(u"\uFFFDx\0y", 4));
  EXPECT_EQ(from_cp932(""), u"");
}

TEST(PlatformText, utf8_round_trip_and_bad_input) {
  const std::u16string wide = u"日本語 \U0001F600 é";
  EXPECT_EQ(from_utf8(to_utf8(wide)), wide);
  EXPECT_EQ(to_utf8(u"日"), "\xE6\x97\xA5");
  EXPECT_EQ(from_utf8("a\xFF" "b\xE6\x97"), u"a\uFFFDb\uFFFD\uFFFD");
  std::u16string lone(1, static_cast<char16_t>(0xDC00));
  EXPECT_EQ(to_utf8(lone + u"z"), "\xEF\xBF\xBDz");
  // Long text crosses the converter's internal buffer.
  std::u16string long_text(5000, u'字');
  EXPECT_EQ(from_utf8(to_utf8(long_text)), long_text);
}

TEST(PlatformText, well_formed_utf8_is_told_from_other_bytes) {
  for (const char* good : {"", "plain", "\xc3\xa9t\xc3\xa9", "\xe8\xa1\xa8\xe7\xb4\x99", "\xf0\x9f\x93\x96",
                           "\xf4\x8f\xbf\xbf", "\xed\x9f\xbf"})
    EXPECT_TRUE(text::is_utf8(good)) << good;
  for (const char* bad : {"\x83\x79\x81\x5b",  // Shift-JIS
                          "\xe8\xa1", "\x80", "\xc0\xaf", "\xe0\x80\xaf", "\xed\xa0\x80", "\xf4\x90\x80\x80",
                          "\xf5\x80\x80\x80", "\xc3x"})
    EXPECT_FALSE(text::is_utf8(bad)) << bad;
}

TEST(PlatformText, parse_int_follows_the_c_library_rule) {
  EXPECT_EQ(parse_int("42"), 42);
  EXPECT_EQ(parse_int(" \t\r\n-17px"), -17);
  EXPECT_EQ(parse_int("+8"), 8);
  EXPECT_EQ(parse_int("x12"), 0);
  EXPECT_EQ(parse_int("- 3"), 0);
  EXPECT_EQ(parse_int("+-3"), 0);
  EXPECT_EQ(parse_int(""), 0);
  EXPECT_EQ(parse_int("2147483647"), 2147483647);
  EXPECT_EQ(parse_int("2147483648"), 2147483647);
  EXPECT_EQ(parse_int("-2147483648"), -2147483647 - 1);
  EXPECT_EQ(parse_int("-99999999999999999999999"), -2147483647 - 1);
  EXPECT_EQ(parse_int(u"  64\r"), 64);
  EXPECT_EQ(parse_int(u"１２"), 0);  // full-width digits are not digits
  EXPECT_EQ(parse_int(u"99999999999"), 2147483647);
}

TEST(PlatformText, format_handles_text_longer_than_its_first_buffer) {
  EXPECT_EQ(format("%4d/%4d[%s]", 3, 120, "p.jpg"), u"   3/ 120[p.jpg]");
  std::string wide_field(300, 'x');
  EXPECT_EQ(format("<%s>", wide_field.c_str()), u"<" + std::u16string(300, u'x') + u">");
}

}  // namespace
}  // namespace zeb::text
