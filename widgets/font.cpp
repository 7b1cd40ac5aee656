#include "widgets/font.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cstdio>

#include "widgets/shapes.h"

namespace zeb::platform {
namespace {

// A kanji every Japanese font holds ("設"): a font without it cannot draw
// the viewer's captions.
constexpr FcChar32 kProbeKanji = 0x8A2D;

std::string match_file(FcPattern* pattern) {
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  FcPattern* match = FcFontMatch(nullptr, pattern, &result);
  std::string file;
  if (match) {
    FcChar8* path = nullptr;
    FcCharSet* chars = nullptr;
    if (FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch &&
        FcPatternGetCharSet(match, FC_CHARSET, 0, &chars) == FcResultMatch && FcCharSetHasChar(chars, kProbeKanji))
      file = reinterpret_cast<const char*>(path);
    FcPatternDestroy(match);
  }
  FcPatternDestroy(pattern);
  return file;
}

Rect intersect(Rect a, Rect b) {
  const int x0 = std::max(a.x, b.x), y0 = std::max(a.y, b.y);
  const int x1 = std::min(a.x + a.w, b.x + b.w), y1 = std::min(a.y + a.h, b.y + b.h);
  return {x0, y0, std::max(0, x1 - x0), std::max(0, y1 - y0)};
}

std::string search_installed_fonts() {
  static const char* const kFamilies[] = {"IPAPGothic",   "IPAGothic",  "Noto Sans CJK JP",
                                          "Noto Sans JP", "VL PGothic", "TakaoPGothic"};
  for (const char* family : kFamilies) {
    FcPattern* p = FcPatternCreate();
    FcPatternAddString(p, FC_FAMILY, reinterpret_cast<const FcChar8*>(family));
    if (std::string file = match_file(p); !file.empty()) return file;
  }
  // Any font for Japanese text.
  FcPattern* p = FcPatternCreate();
  FcPatternAddString(p, FC_LANG, reinterpret_cast<const FcChar8*>("ja"));
  return match_file(p);
}

}  // namespace

std::string find_dialog_font_file() {
  // The lookup runs once; fontconfig is released afterwards so that its
  // caches do not outlive the question.
  if (!FcInit()) return {};
  std::string file = search_installed_fonts();
  FcFini();
  return file;
}

std::u32string code_points(std::u16string_view text) {
  std::u32string out;
  for (size_t i = 0; i < text.size(); ++i) {
    const char16_t u = text[i];
    if (u >= 0xD800 && u < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000) {
      out.push_back(0x10000 + ((static_cast<char32_t>(u) - 0xD800) << 10) + (text[i + 1] - 0xDC00));
      ++i;
    } else if (u >= 0xD800 && u < 0xE000) {
      out.push_back(0xFFFD);
    } else {
      out.push_back(u);
    }
  }
  return out;
}

Font::Font(const std::string& path, int pixel_size) : pixel_size_(pixel_size) {
  ascent_ = pixel_size * 7 / 8;
  line_height_ = pixel_size * 5 / 4;
  FT_Library library = nullptr;
  if (path.empty() || FT_Init_FreeType(&library) != 0) return;
  library_ = library;
  FT_Face face = nullptr;
  if (FT_New_Face(library, path.c_str(), 0, &face) != 0) return;
  if (FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(pixel_size)) != 0) {
    FT_Done_Face(face);
    return;
  }
  face_ = face;
  ascent_ = static_cast<int>(face->size->metrics.ascender >> 6);
  line_height_ = static_cast<int>(face->size->metrics.height >> 6);
}

Font::~Font() {
  if (face_) FT_Done_Face(static_cast<FT_Face>(face_));
  if (library_) FT_Done_FreeType(static_cast<FT_Library>(library_));
}

Font::Glyph Font::render(char32_t code) {
  Glyph g;
  FT_Face face = static_cast<FT_Face>(face_);
  if (!face || FT_Load_Char(face, code, FT_LOAD_RENDER | FT_LOAD_TARGET_NORMAL) != 0) {
    // A hollow box the size of a full-width character stands in.
    const int side = pixel_size_ * 3 / 4;
    g.width = side;
    g.rows = side;
    g.top = ascent_;
    g.left = 1;
    g.advance = side + 2;
    g.coverage.assign(static_cast<size_t>(side) * side, 0);
    for (int i = 0; i < side; ++i) {
      g.coverage[i] = g.coverage[static_cast<size_t>(side - 1) * side + i] = 255;
      g.coverage[static_cast<size_t>(i) * side] = g.coverage[static_cast<size_t>(i) * side + side - 1] = 255;
    }
    return g;
  }
  const FT_GlyphSlot slot = face->glyph;
  const FT_Bitmap& bm = slot->bitmap;
  g.width = static_cast<int>(bm.width);
  g.rows = static_cast<int>(bm.rows);
  g.left = slot->bitmap_left;
  g.top = slot->bitmap_top;
  g.advance = static_cast<int>(slot->advance.x >> 6);
  g.coverage.resize(static_cast<size_t>(g.width) * g.rows);
  for (int r = 0; r < g.rows; ++r)
    for (int c = 0; c < g.width; ++c) {
      const unsigned char* row = bm.buffer + static_cast<long>(r) * bm.pitch;
      g.coverage[static_cast<size_t>(r) * g.width + c] =
          bm.pixel_mode == FT_PIXEL_MODE_MONO ? ((row[c / 8] >> (7 - c % 8)) & 1) * 255 : row[c];
    }
  return g;
}

const Font::Glyph& Font::glyph(char32_t code) {
  auto it = cache_.find(code);
  if (it == cache_.end()) it = cache_.emplace(code, render(code)).first;
  return it->second;
}

int Font::text_width(std::u16string_view text) {
  int width = 0;
  for (char32_t code : code_points(text)) width += glyph(code).advance;
  return width;
}

int Font::prefix_width(std::u16string_view text, int units) {
  units = std::clamp(units, 0, static_cast<int>(text.size()));
  return text_width(text.substr(0, static_cast<size_t>(units)));
}

void Font::draw(Bitmap& target, int x, int y, std::u16string_view text, ColorRef color, Rect clip) {
  clip = intersect(clip, {0, 0, target.width(), target.height()});
  const int baseline = y + ascent_;
  for (char32_t code : code_points(text)) {
    const Glyph& g = glyph(code);
    for (int r = 0; r < g.rows; ++r) {
      const int py = baseline - g.top + r;
      if (py < clip.y || py >= clip.y + clip.h) continue;
      for (int c = 0; c < g.width; ++c) {
        const int px = x + g.left + c;
        if (px < clip.x || px >= clip.x + clip.w) continue;
        shapes::blend(target, px, py, color, g.coverage[static_cast<size_t>(r) * g.width + c]);
      }
    }
    x += g.advance;
    if (x >= clip.x + clip.w) break;
  }
}

Font& dialog_font() {
  static Font font = [] {
    const std::string file = find_dialog_font_file();
    if (file.empty())
      std::fprintf(stderr, "zeb: no Japanese font found (install fonts-ipafont-gothic); text is drawn as boxes\n");
    return Font(file, kDialogFontPixels);
  }();
  return font;
}

}  // namespace zeb::platform
