// The fixed pictures of the main window, drawn from simple shapes and a small
// built-in glyph set so that they look the same on every machine.
#include "view/pictures.h"

#include <array>
#include <cmath>
#include <string_view>

#include "widgets/shapes.h"

namespace zeb::platform {
namespace {

using shapes::Point;

constexpr ColorRef kInk = rgb(32, 32, 32);
constexpr ColorRef kFace = rgb(216, 216, 216);
constexpr ColorRef kKeyFace = rgb(250, 250, 250);
constexpr ColorRef kEdge = rgb(128, 128, 128);
constexpr ColorRef kPickerGreen = rgb(0, 255, 0);
constexpr ColorRef kPickerRed = rgb(255, 0, 0);

// 5 x 7 glyphs for the digits and the letters of "Back".
struct Glyph {
  char ch;
  std::array<std::string_view, 7> rows;
};
constexpr Glyph kGlyphs[] = {
    {'0', {" ### ", "#   #", "#  ##", "# # #", "##  #", "#   #", " ### "}},
    {'1', {"  #  ", " ##  ", "  #  ", "  #  ", "  #  ", "  #  ", " ### "}},
    {'2', {" ### ", "#   #", "    #", "   # ", "  #  ", " #   ", "#####"}},
    {'3', {"#####", "   # ", "  #  ", "   # ", "    #", "#   #", " ### "}},
    {'4', {"   # ", "  ## ", " # # ", "#  # ", "#####", "   # ", "   # "}},
    {'5', {"#####", "#    ", "#### ", "    #", "    #", "#   #", " ### "}},
    {'6', {"  ## ", " #   ", "#    ", "#### ", "#   #", "#   #", " ### "}},
    {'7', {"#####", "    #", "   # ", "  #  ", " #   ", " #   ", " #   "}},
    {'8', {" ### ", "#   #", "#   #", " ### ", "#   #", "#   #", " ### "}},
    {'9', {" ### ", "#   #", "#   #", " ####", "    #", "   # ", " ##  "}},
    {'B', {"#### ", "#   #", "#   #", "#### ", "#   #", "#   #", "#### "}},
    {'a', {"     ", "     ", " ### ", "    #", " ####", "#   #", " ####"}},
    {'c', {"     ", "     ", " ### ", "#    ", "#    ", "#   #", " ### "}},
    {'k', {"#    ", "#    ", "#  # ", "# #  ", "##   ", "# #  ", "#  # "}},
};
constexpr int kGlyphW = 5, kGlyphH = 7;

// Width in pixels of the text drawn at the given scale (one blank column
// between glyphs).
int glyph_text_width(std::string_view text, int scale) {
  return text.empty() ? 0 : (static_cast<int>(text.size()) * (kGlyphW + 1) - 1) * scale;
}

void draw_glyph_text(Bitmap& b, int x, int y, int scale, std::string_view text, ColorRef color) {
  for (char ch : text) {
    for (const Glyph& g : kGlyphs) {
      if (g.ch != ch) continue;
      for (int r = 0; r < kGlyphH; ++r)
        for (int c = 0; c < kGlyphW; ++c)
          if (g.rows[r][c] == '#') shapes::fill(b, {x + c * scale, y + r * scale, scale, scale}, color);
    }
    x += (kGlyphW + 1) * scale;
  }
}

void draw_centred_text(Bitmap& b, Rect cell, int scale, std::string_view text, ColorRef color) {
  draw_glyph_text(b, cell.x + (cell.w - glyph_text_width(text, scale)) / 2, cell.y + (cell.h - kGlyphH * scale) / 2,
                  scale, text, color);
}

void draw_key(Bitmap& b, Rect cell, std::string_view label, int scale) {
  const Rect key{cell.x + 2, cell.y + 2, cell.w - 4, cell.h - 4};
  shapes::fill(b, key, kKeyFace);
  shapes::frame(b, key, 2, kEdge);
  draw_centred_text(b, key, scale, label, kInk);
}

// The number pad is shown in 56 x 73 layout units and tapped in cells of
// 16 x 18 units, so a cell is 32 pixels wide and 18 * 148 / 73 pixels high.
std::unique_ptr<Bitmap> number_pad() {
  auto b = Bitmap::create(112, 148);
  if (!b) return b;
  shapes::fill(*b, {0, 0, 112, 148}, kFace);
  auto row_top = [](int r) { return r * 18 * 148 / 73; };
  constexpr std::string_view kLabels[4][3] = {{"7", "8", "9"}, {"4", "5", "6"}, {"1", "2", "3"}, {"0", "", ""}};
  for (int r = 0; r < 4; ++r) {
    const int top = row_top(r), height = row_top(r + 1) - top;
    for (int c = 0; c < 3; ++c)
      if (!kLabels[r][c].empty()) draw_key(*b, {32 * c, top, 32, height}, kLabels[r][c], 3);
    if (r == 3) draw_key(*b, {32, top, 64, height}, "Back", 2);
  }
  return b;
}

void triangle(Bitmap& b, float tip_x, float cy, float dir, ColorRef color) {
  // dir -1 points left, +1 points right; 12 pixels long, 18 high.
  shapes::polygon(b, {{tip_x, cy}, {tip_x - 12 * dir, cy - 9}, {tip_x - 12 * dir, cy + 9}}, color);
}

void bars(Bitmap& b, float cx, float bottom, bool rising) {
  for (int i = 0; i < 4; ++i) {
    const int h = 5 * ((rising ? i : 3 - i) + 1);
    shapes::fill(b, {static_cast<int>(cx) - 12 + 6 * i, static_cast<int>(bottom) - h, 4, h}, kInk);
  }
}

void windows_icon(Bitmap& b, int cx, int cy) {
  for (int i = 0; i < 2; ++i) {
    const Rect w{cx - 13 + 9 * i, cy - 11 + 8 * i, 17, 14};
    shapes::fill(b, w, kKeyFace);
    shapes::frame(b, w, 2, kInk);
    shapes::fill(b, {w.x, w.y, w.w, 4}, kInk);
  }
}

void toolbar_cell(Bitmap& b, int i) {
  const float cx = 40.0f * i + 20, cy = 19;
  switch (i) {
    case 0: shapes::fill(b, {static_cast<int>(cx) - 13, 10, 3, 18}, kInk); [[fallthrough]];
    case 1:
      triangle(b, cx - 9, cy, -1, kInk);
      triangle(b, cx + 3, cy, -1, kInk);
      break;
    case 2: triangle(b, cx - 6, cy, -1, kInk); break;
    case 3: triangle(b, cx + 6, cy, +1, kInk); break;
    case 5: shapes::fill(b, {static_cast<int>(cx) + 10, 10, 3, 18}, kInk); [[fallthrough]];
    case 4:
      triangle(b, cx - 3, cy, +1, kInk);
      triangle(b, cx + 9, cy, +1, kInk);
      break;
    case 6:
      shapes::polygon(b, {{cx, 7}, {cx + 11, 21}, {cx - 11, 21}}, kInk);
      shapes::fill(b, {static_cast<int>(cx) - 11, 25, 22, 4}, kInk);
      break;
    case 7: windows_icon(b, static_cast<int>(cx), static_cast<int>(cy)); break;
    case 8: bars(b, cx, 30, true); break;
    case 9: bars(b, cx, 30, false); break;
  }
}

// Ten 40-pixel cells, one per tool, each with a raised edge.
std::unique_ptr<Bitmap> toolbar() {
  auto b = Bitmap::create(400, 38);
  if (!b) return b;
  shapes::fill(*b, {0, 0, 400, 38}, kFace);
  for (int i = 0; i < 10; ++i) {
    shapes::frame(*b, {40 * i, 0, 40, 38}, 1, kEdge);
    toolbar_cell(*b, i);
  }
  return b;
}

std::unique_ptr<Bitmap> window_buttons() {
  auto b = Bitmap::create(80, 38);
  if (!b) return b;
  shapes::fill(*b, {0, 0, 80, 38}, kFace);
  shapes::frame(*b, {0, 0, 40, 38}, 1, kEdge);
  shapes::frame(*b, {40, 0, 40, 38}, 1, kEdge);
  shapes::fill(*b, {10, 24, 20, 4}, kInk);
  shapes::line(*b, {51, 10}, {69, 28}, 3.5f, kInk);
  shapes::line(*b, {69, 10}, {51, 28}, 3.5f, kInk);
  return b;
}

void double_arrow(Bitmap& b, Point c, bool vertical, ColorRef color) {
  const Point a = vertical ? Point{c.x, c.y - 8} : Point{c.x - 8, c.y};
  const Point z = vertical ? Point{c.x, c.y + 8} : Point{c.x + 8, c.y};
  shapes::line(b, a, z, 2, color);
  shapes::arrow_head(b, a, vertical ? 270.0f : 180.0f, 5, color);
  shapes::arrow_head(b, z, vertical ? 90.0f : 0.0f, 5, color);
  // The mirror axis across the arrow.
  if (vertical) shapes::fill(b, {static_cast<int>(c.x) - 7, static_cast<int>(c.y), 14, 1}, color);
  else shapes::fill(b, {static_cast<int>(c.x), static_cast<int>(c.y) - 7, 1, 14}, color);
}

// Two arrows chasing each other round a circle; a vertical loop runs up one
// side and down the other, a horizontal loop along the top and the bottom.
void loop_arrows(Bitmap& b, Point c, bool vertical, ColorRef color) {
  const float start = vertical ? 110.0f : 200.0f;
  for (int half = 0; half < 2; ++half) {
    const float from = start + 180.0f * half, to = from + 120.0f;
    shapes::arc(b, c, 6, from, to, 2, color);
    const float rad = to * 3.14159265f / 180.0f;
    shapes::arrow_head(b, {c.x + 6 * std::cos(rad), c.y + 6 * std::sin(rad)}, to + 90.0f, 5, color);
  }
}

void rotation_arrow(Bitmap& b, Point c, ColorRef color) {
  shapes::arc(b, c, 6, 180.0f, 450.0f, 2, color);
  shapes::arrow_head(b, {c.x, c.y + 6}, 180.0f, 5, color);
}

std::unique_ptr<Bitmap> picker(ColorRef color) {
  auto b = Bitmap::create(60, 100);
  if (!b) return b;
  constexpr std::string_view kDigits[3][3] = {{"7", "8", "9"}, {"4", "5", "6"}, {"1", "2", "3"}};
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 3; ++c) {
      shapes::frame(*b, {20 * c + 1, 20 * r + 1, 18, 18}, 1, color);
      draw_centred_text(*b, {20 * c, 20 * r, 20, 20}, 2, kDigits[r][c], color);
    }
  double_arrow(*b, {30, 70}, true, color);
  loop_arrows(*b, {50, 70}, true, color);
  rotation_arrow(*b, {10, 90}, color);
  double_arrow(*b, {30, 90}, false, color);
  loop_arrows(*b, {50, 90}, false, color);
  return b;
}

}  // namespace

// An open book on a blue ground, drawn on a 32-unit grid scaled to the size.
std::unique_ptr<Bitmap> draw_icon(int size) {
  auto b = Bitmap::create(size, size);
  if (!b) return b;
  const float k = size / 32.0f;
  auto at = [k](float x, float y) { return shapes::Point{x * k, y * k}; };
  shapes::fill(*b, {0, 0, size, size}, rgb(40, 70, 140));
  shapes::polygon(*b, {at(3, 8), at(15, 10), at(15, 27), at(3, 25)}, rgb(250, 250, 250));
  shapes::polygon(*b, {at(17, 10), at(29, 8), at(29, 25), at(17, 27)}, rgb(250, 250, 250));
  for (int i = 0; i < 3; ++i) {
    shapes::line(*b, at(6, 14.0f + 4 * i), at(12, 15.0f + 4 * i), k, rgb(120, 120, 120));
    shapes::line(*b, at(20, 15.0f + 4 * i), at(26, 14.0f + 4 * i), k, rgb(120, 120, 120));
  }
  return b;
}

std::unique_ptr<Bitmap> load_picture(int resource_id) {
  switch (resource_id) {
    case kNumberPadPicture: return number_pad();
    case kToolbarPicture: return toolbar();
    case kWindowButtonsPicture: return window_buttons();
    case kPickerOffPicture: return picker(kPickerGreen);
    case kPickerOnPicture: return picker(kPickerRed);
    case kIconPicture: return draw_icon(kIconSize);
    default: return nullptr;
  }
}

}  // namespace zeb::platform
