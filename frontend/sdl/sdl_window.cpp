#include "frontend/sdl/sdl_window.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "core/services.h"
#include "frontend/sdl/window_manager.h"
#include "view/pictures.h"

namespace zeb::sdl {
namespace {

constexpr int kMinimumScaleDivisor = 4;  // the window never shrinks below a quarter of the screen

void set_icon(SDL_Window* window) {
  auto icon = platform::load_picture(platform::kIconPicture);
  if (!icon) return;
  SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormat(0, icon->width(), icon->height(), 24,
                                                        SDL_PIXELFORMAT_BGR24);
  if (!surface) return;
  for (int y = 0; y < icon->height(); ++y)
    std::memcpy(static_cast<std::uint8_t*>(surface->pixels) + static_cast<size_t>(y) * surface->pitch,
                icon->picture_row(y), static_cast<size_t>(icon->width()) * 3);
  SDL_SetWindowIcon(window, surface);
  SDL_FreeSurface(surface);
}

SDL_Rect usable_bounds() {
  SDL_Rect usable{0, 0, 0, 0};
  if (SDL_GetDisplayUsableBounds(0, &usable) != 0) {
    const Size s = turned_screen(0);
    usable.w = s.w, usable.h = s.h;
  }
  return usable;
}

Size usable_area() {
  const SDL_Rect usable = usable_bounds();
  return {usable.w, usable.h};
}

}  // namespace

std::unique_ptr<Window> Window::open(const WindowOptions& options, std::string& error) {
  std::unique_ptr<Window> w(new Window());
  if (!w->create(options, error)) return nullptr;
  // Full screen is asked for once the window stands: a window manager
  // that maps it full screen from the start would leave nothing to return to.
  if (options.full_screen) w->toggle_full_screen();
  return w;
}

bool Window::create(const WindowOptions& options, std::string& error) {
  turn_ = options.turn;
  const Size first = first_window_size(usable_area(), turn_, options.scale);
  chosen_w_ = first.w, chosen_h_ = first.h;
  window_ = SDL_CreateWindow("ZEB", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, first.w, first.h,
                             SDL_WINDOW_SHOWN | SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI);
  if (window_) renderer_ = create_renderer(window_, options.renderer);
  const Size turned = turned_screen(turn_);
  if (renderer_)
    texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_BGR24, SDL_TEXTUREACCESS_STREAMING, turned.w, turned.h);
  if (!texture_) {
    error = SDL_GetError();
    return false;
  }
  SDL_SetWindowMinimumSize(window_, turned.w / kMinimumScaleDivisor, turned.h / kMinimumScaleDivisor);
  set_icon(window_);
  rows_.resize(static_cast<size_t>(turned.w) * 3 * turned.h);
  wanted_scale_ = options.scale;
  return true;
}

// A window manager's frame is only known a while after the window is shown:
// once it is, a window that with its frame would reach past the usable area
// shrinks to the largest size that fits (an exact --scale included).
void Window::keep_on_display() {
  int top = 0, left = 0, bottom = 0, right = 0;
  if (frame_checked_) return;
  if (SDL_GetWindowBordersSize(window_, &top, &left, &bottom, &right) != 0) return;
  if (top + left + bottom + right == 0) return;  // no frame, or not known yet
  frame_checked_ = true;
  if (SDL_GetWindowFlags(window_) & (SDL_WINDOW_FULLSCREEN | SDL_WINDOW_MAXIMIZED)) return;
  const SDL_Rect area = usable_bounds();
  const Size room{area.w - left - right, area.h - top - bottom};
  int w = 0, h = 0, x = 0, y = 0;
  SDL_GetWindowSize(window_, &w, &h);
  SDL_GetWindowPosition(window_, &x, &y);
  const bool frame_inside =
      x - left >= area.x && y - top >= area.y && x + w + right <= area.x + area.w && y + h + bottom <= area.y + area.h;
  if (frame_inside) return;
  if (w > room.w || h > room.h) {
    const Size fits = first_window_size(room, turn_, wanted_scale_);
    chosen_w_ = w = fits.w, chosen_h_ = h = fits.h;
    SDL_SetWindowSize(window_, w, h);
  }
  // Positions are the inside's; the frame is added around it.
  SDL_SetWindowPosition(window_, area.x + left + (room.w - w) / 2, area.y + top + (room.h - h) / 2);
}

Window::~Window() {
  if (enlarged_) SDL_DestroyTexture(enlarged_);
  if (texture_) SDL_DestroyTexture(texture_);
  if (renderer_) SDL_DestroyRenderer(renderer_);
  if (window_) SDL_DestroyWindow(window_);
}

// Whole factors show sharp pixels. Between them, the screen is first
// enlarged by the whole factor below the scale with sharp pixels and then
// smoothed over the small rest, so every pixel keeps its even size and
// only its edges blend; below a factor of 2 the smoothing alone serves.
SDL_Texture* Window::scaled_texture(const ScreenFit& fit) {
  const int factor = static_cast<int>(std::floor(fit.scale()));
  SDL_SetTextureScaleMode(texture_, fit.integer_scale() || factor >= 2 ? SDL_ScaleModeNearest : SDL_ScaleModeLinear);
  if (fit.integer_scale() || factor < 2) return texture_;
  if (factor != enlarged_factor_) {
    if (enlarged_) SDL_DestroyTexture(enlarged_);
    const Size turned = turned_screen(turn_);
    enlarged_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_TARGET, turned.w * factor,
                                  turned.h * factor);
    enlarged_factor_ = enlarged_ ? factor : 0;
  }
  if (!enlarged_ || SDL_SetRenderTarget(renderer_, enlarged_) != 0) {
    SDL_SetTextureScaleMode(texture_, SDL_ScaleModeLinear);
    return texture_;
  }
  SDL_RenderCopy(renderer_, texture_, nullptr, nullptr);
  SDL_SetRenderTarget(renderer_, nullptr);
  SDL_SetTextureScaleMode(enlarged_, SDL_ScaleModeLinear);
  return enlarged_;
}

void Window::present(const platform::Bitmap& screen) {
  if (screen.width() != platform::kScreenWidth || screen.height() != platform::kScreenHeight) return;
  const Size turned = turned_screen(turn_);
  copy_turned(screen, turn_, rows_.data(), turned.w * 3);
  SDL_UpdateTexture(texture_, nullptr, rows_.data(), turned.w * 3);
  int out_w = 0, out_h = 0;
  SDL_GetRendererOutputSize(renderer_, &out_w, &out_h);
  const ScreenFit fit({out_w, out_h}, turn_);
  SDL_Texture* shown = scaled_texture(fit);
  SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
  SDL_RenderClear(renderer_);
  const SDL_Rect target{fit.x(), fit.y(), fit.w(), fit.h()};
  SDL_RenderCopy(renderer_, shown, nullptr, &target);
  SDL_RenderPresent(renderer_);
}

bool Window::to_screen(int wx, int wy, int& sx, int& sy) const {
  int win_w = 0, win_h = 0, out_w = 0, out_h = 0;
  SDL_GetWindowSize(window_, &win_w, &win_h);
  SDL_GetRendererOutputSize(renderer_, &out_w, &out_h);
  if (win_w <= 0 || win_h <= 0) return false;
  // Events come in window points; the screen is placed in output pixels.
  const double px = (wx + 0.5) * out_w / win_w, py = (wy + 0.5) * out_h / win_h;
  return ScreenFit({out_w, out_h}, turn_).to_screen(px, py, sx, sy);
}

bool Window::visible() const { return (SDL_GetWindowFlags(window_) & (SDL_WINDOW_MINIMIZED | SDL_WINDOW_HIDDEN)) == 0; }

bool Window::is_full_screen() const { return covering_ || (SDL_GetWindowFlags(window_) & SDL_WINDOW_FULLSCREEN) != 0; }

void Window::raise() {
  if (SDL_GetWindowFlags(window_) & SDL_WINDOW_MINIMIZED) SDL_RestoreWindow(window_);
  SDL_RaiseWindow(window_);
}

void Window::toggle_full_screen() {
  full_screen_chosen_ = !full_screen_chosen_;
  return_to_chosen_mode();
}

void Window::return_to_chosen_mode() {
  if (SDL_GetWindowFlags(window_) & SDL_WINDOW_MINIMIZED) SDL_RestoreWindow(window_);
  if (full_screen_chosen_) {
    if (!is_full_screen()) enter_full_screen();
  } else {
    if (is_full_screen()) leave_full_screen();
    if (maximised_chosen_) {
      SDL_MaximizeWindow(window_);
    } else {
      int w = 0, h = 0;
      SDL_GetWindowSize(window_, &w, &h);
      if (w != chosen_w_ || h != chosen_h_) SDL_SetWindowSize(window_, chosen_w_, chosen_h_);
    }
  }
  SDL_RaiseWindow(window_);
}

// Without a window manager nobody would act on SDL's request: the window
// then covers the display itself. Should the server keep it smaller, SDL
// learns the size it really has, and the screen is drawn centred in that.
void Window::enter_full_screen() {
  if (!x_display_without_window_manager(window_)) {
    SDL_SetWindowFullscreen(window_, SDL_WINDOW_FULLSCREEN_DESKTOP);
    return;
  }
  SDL_Rect display{0, 0, 0, 0};
  if (SDL_GetDisplayBounds(std::max(0, SDL_GetWindowDisplayIndex(window_)), &display) != 0) return;
  covering_ = true;
  SDL_GetWindowPosition(window_, &chosen_x_, &chosen_y_);
  SDL_SetWindowPosition(window_, display.x, display.y);
  SDL_SetWindowSize(window_, display.w, display.h);
}

// The size the reader chose comes back after this.
void Window::leave_full_screen() {
  if (!covering_) {
    SDL_SetWindowFullscreen(window_, 0);
    return;
  }
  covering_ = false;
  SDL_SetWindowPosition(window_, chosen_x_, chosen_y_);
}

void Window::note_resized() {
  const Uint32 flags = SDL_GetWindowFlags(window_);
  if (covering_ || (flags & (SDL_WINDOW_FULLSCREEN | SDL_WINDOW_MINIMIZED))) return;
  maximised_chosen_ = (flags & SDL_WINDOW_MAXIMIZED) != 0;
  if (!maximised_chosen_) SDL_GetWindowSize(window_, &chosen_w_, &chosen_h_);
}

}  // namespace zeb::sdl
