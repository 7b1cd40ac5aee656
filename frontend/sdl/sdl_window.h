#pragma once
// The SDL window that shows the 480 x 640 screen scaled to whatever size
// the window has (aspect kept, centred, black around), optionally turned,
// in a window or full screen. It remembers the mode and size the reader
// last chose, so the viewer's "full screen again" can return to them.
#include <SDL.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "frontend/sdl/renderer.h"
#include "frontend/sdl/screen_fit.h"
#include "widgets/bitmap.h"

namespace zeb::sdl {

struct WindowOptions {
  int scale = 0;  // 0: the largest that fits the display
  bool full_screen = false;
  int turn = 0;  // degrees clockwise: 0, 90, 180, 270
  RendererChoice renderer = RendererChoice::automatic;
};

class Window {
 public:
  // A shown window titled "ZEB", or null with the reason in `error`.
  static std::unique_ptr<Window> open(const WindowOptions& options, std::string& error);
  ~Window();
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  // Shows the bitmap (480 x 640, bottom-up BGR rows).
  void present(const platform::Bitmap& screen);
  // False while the window is minimised or hidden: nothing of it is seen.
  bool visible() const;
  void minimise() { SDL_MinimizeWindow(window_); }
  void restore() { SDL_RestoreWindow(window_); }
  void raise();
  // F11: between a window and full screen; the choice is remembered.
  void toggle_full_screen();
  // Back to the mode (and, in a window, the size) the reader last chose.
  void return_to_chosen_mode();
  // Notes a size or state change of the window.
  void note_resized();
  // Shrinks the first window once the window manager's frame is known, so
  // that the frame stays on the display too.
  void keep_on_display();

  // The screen pixel under a window point (mouse or touch coordinates);
  // false when the point lies beside the screen.
  bool to_screen(int wx, int wy, int& sx, int& sy) const;

 private:
  Window() = default;
  bool create(const WindowOptions& options, std::string& error);
  bool is_full_screen() const;
  void enter_full_screen();
  void leave_full_screen();
  // The texture drawn to the window for the current size: the screen
  // itself, or a copy enlarged by a whole factor for a smooth last step.
  SDL_Texture* scaled_texture(const ScreenFit& fit);

  SDL_Window* window_ = nullptr;
  SDL_Renderer* renderer_ = nullptr;
  SDL_Texture* texture_ = nullptr;   // the turned screen, pixel for pixel
  SDL_Texture* enlarged_ = nullptr;  // the same, a whole factor larger
  int enlarged_factor_ = 0;
  std::vector<std::uint8_t> rows_;  // top-down copy of the turned screen
  int turn_ = 0;
  bool full_screen_chosen_ = false;
  // Full screen without a window manager: the window itself covers the
  // display, and returns to where it stood (chosen_x_, chosen_y_).
  bool covering_ = false;
  int chosen_x_ = 0, chosen_y_ = 0;
  bool maximised_chosen_ = false;
  int chosen_w_ = 0, chosen_h_ = 0;  // the window's size when not maximised
  bool frame_checked_ = false;
  int wanted_scale_ = 0;  // --scale, 0 for the largest that fits
};

}  // namespace zeb::sdl
