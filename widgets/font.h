#pragma once
// The dialog font: a Japanese-capable outline font found through fontconfig
// and rendered with FreeType, with a glyph cache. Without any usable font the
// text draws as boxes, and a warning is printed once.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "widgets/bitmap.h"

namespace zeb::platform {

// Pixel size of the dialog font on the 480 x 640 screen.
constexpr int kDialogFontPixels = 20;

// The font file of the first installed family that holds Japanese text
// (IPA P Gothic first, other CJK fonts after it), or "" when there is none.
std::string find_dialog_font_file();

class Font {
 public:
  // A font from a file at the given pixel size; an empty or unreadable path
  // gives a font that draws boxes.
  Font(const std::string& path, int pixel_size);
  ~Font();
  Font(const Font&) = delete;
  Font& operator=(const Font&) = delete;

  bool has_face() const { return face_ != nullptr; }
  int pixel_size() const { return pixel_size_; }
  int ascent() const { return ascent_; }
  int line_height() const { return line_height_; }
  // Advance width of the text in pixels.
  int text_width(std::u16string_view text);
  // Pixel offset of the first `units` UTF-16 units of the text.
  int prefix_width(std::u16string_view text, int units);
  // Draws the text with its top at y (the line box starting there), clipped
  // to `clip`.
  void draw(Bitmap& target, int x, int y, std::u16string_view text, ColorRef color, Rect clip);

 private:
  struct Glyph {
    int width = 0, rows = 0, left = 0, top = 0, advance = 0;
    std::vector<std::uint8_t> coverage;  // width x rows, 0..255
  };
  const Glyph& glyph(char32_t code);
  Glyph render(char32_t code);

  void* library_ = nullptr;  // FT_Library
  void* face_ = nullptr;     // FT_Face
  int pixel_size_;
  int ascent_ = 0, line_height_ = 0;
  std::unordered_map<char32_t, Glyph> cache_;
};

// The process's dialog font, opened on first use.
Font& dialog_font();

// Decodes UTF-16 into code points (unpaired surrogates become U+FFFD).
std::u32string code_points(std::u16string_view text);

}  // namespace zeb::platform
