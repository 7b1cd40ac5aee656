#include "frontend/sdl/sdl_window.h"

#include <algorithm>
#include <cstring>

#include "platform/pictures.h"
#include "platform/services.h"

namespace zeb::sdl {
namespace {

constexpr int kW = platform::kScreenWidth, kH = platform::kScreenHeight;

// Copies a bottom-up BGR bitmap into top-down rows of `stride` bytes.
void copy_top_down(const platform::Bitmap& b, std::uint8_t* out, int stride) {
  for (int y = 0; y < b.height(); ++y)
    std::memcpy(out + static_cast<size_t>(y) * stride, b.picture_row(y), static_cast<size_t>(b.width()) * 3);
}

void set_icon(SDL_Window* window) {
  auto icon = platform::load_picture(platform::kIconPicture);
  if (!icon) return;
  SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormat(0, icon->width(), icon->height(), 24,
                                                        SDL_PIXELFORMAT_BGR24);
  if (!surface) return;
  copy_top_down(*icon, static_cast<std::uint8_t*>(surface->pixels), surface->pitch);
  SDL_SetWindowIcon(window, surface);
  SDL_FreeSurface(surface);
}

}  // namespace

int default_scale() {
  SDL_Rect usable;
  if (SDL_GetDisplayUsableBounds(0, &usable) != 0) return 1;
  return std::max(1, std::min(usable.w / kW, usable.h / kH));
}

std::unique_ptr<Window> Window::open(int scale, std::string& error) {
  std::unique_ptr<Window> w(new Window());
  w->window_ = SDL_CreateWindow("ZEB", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, kW * scale, kH * scale,
                                SDL_WINDOW_SHOWN | SDL_WINDOW_ALLOW_HIGHDPI);
  if (w->window_) w->renderer_ = SDL_CreateRenderer(w->window_, -1, SDL_RENDERER_PRESENTVSYNC);
  if (!w->renderer_ && w->window_) w->renderer_ = SDL_CreateRenderer(w->window_, -1, SDL_RENDERER_SOFTWARE);
  if (w->renderer_) {
    // Events arrive in screen pixels whatever the window's size.
    SDL_RenderSetLogicalSize(w->renderer_, kW, kH);
    SDL_RenderSetIntegerScale(w->renderer_, SDL_TRUE);
    w->texture_ = SDL_CreateTexture(w->renderer_, SDL_PIXELFORMAT_BGR24, SDL_TEXTUREACCESS_STREAMING, kW, kH);
  }
  if (!w->texture_) {
    error = SDL_GetError();
    return nullptr;
  }
  set_icon(w->window_);
  w->rows_.resize(static_cast<size_t>(kW) * 3 * kH);
  return w;
}

Window::~Window() {
  if (texture_) SDL_DestroyTexture(texture_);
  if (renderer_) SDL_DestroyRenderer(renderer_);
  if (window_) SDL_DestroyWindow(window_);
}

void Window::present(const platform::Bitmap& screen) {
  if (screen.width() != kW || screen.height() != kH) return;
  copy_top_down(screen, rows_.data(), kW * 3);
  SDL_UpdateTexture(texture_, nullptr, rows_.data(), kW * 3);
  SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
  SDL_RenderClear(renderer_);
  SDL_RenderCopy(renderer_, texture_, nullptr, nullptr);
  SDL_RenderPresent(renderer_);
}

void Window::raise() {
  SDL_RestoreWindow(window_);
  SDL_RaiseWindow(window_);
}

}  // namespace zeb::sdl
