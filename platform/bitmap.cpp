// Placeholder until the bitmap helpers land.
#include "platform/bitmap.h"
namespace zeb::platform {
Bitmap::Bitmap(int w, int h) : width_(w), height_(h), stride_(dib_stride(w)), bits_(static_cast<size_t>(stride_) * h) {}
std::unique_ptr<Bitmap> Bitmap::create(int w, int h) { if (w <= 0 || h <= 0) return nullptr; return std::unique_ptr<Bitmap>(new Bitmap(w, h)); }
ColorRef Bitmap::pixel(int, int) const { return 0; }
void Bitmap::set_pixel(int, int, ColorRef) {}
void fill_rect(Bitmap&, Rect, ColorRef) {}
void stretch_copy(Bitmap&, int, int, int, int, const Bitmap&, int, int, int, int) {}
bool save_png(const Bitmap&, const std::string&) { return false; }
bool save_ppm(const Bitmap&, const std::string&) { return false; }
}
