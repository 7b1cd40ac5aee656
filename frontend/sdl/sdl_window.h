#pragma once
// The SDL window that shows the 480 x 640 screen at an integer scale.
#include <SDL.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/bitmap.h"

namespace zeb::sdl {

// The largest integer scale at which the screen fits the first display's
// usable area (at least 1).
int default_scale();

class Window {
 public:
  // A shown window titled "ZEB", or null with the reason in `error`.
  static std::unique_ptr<Window> open(int scale, std::string& error);
  ~Window();
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  // Shows the bitmap (480 x 640, bottom-up BGR rows).
  void present(const platform::Bitmap& screen);
  void minimise() { SDL_MinimizeWindow(window_); }
  void restore() { SDL_RestoreWindow(window_); }
  void raise();

 private:
  Window() = default;
  SDL_Window* window_ = nullptr;
  SDL_Renderer* renderer_ = nullptr;
  SDL_Texture* texture_ = nullptr;
  std::vector<std::uint8_t> rows_;  // top-down copy of the screen
};

}  // namespace zeb::sdl
