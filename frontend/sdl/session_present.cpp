// Showing the screen in the window. The timer ticks ten times a second
// whether or not anything moves; the window is only drawn when the paint or
// a control's redraw marked the screen changed, or the window itself needs
// it again, so a viewer left open on a page costs next to nothing.
#include <cstring>

#include "frontend/sdl/session.h"

namespace zeb::sdl {

void Session::present_if_changed() {
  // A change made meanwhile stays marked and is shown once the window is back.
  if (!window_.visible()) return;
  const bool changed = v_.platform.take_screen_changed();
  if (!changed && !present_due_) return;
  present_due_ = false;
  present();
}

void Session::present() {
  if (modal_ == Modal::none) return window_.present(*v_.platform.screen);
  const platform::Bitmap& screen = *v_.platform.screen;
  auto composed = platform::Bitmap::create(screen.width(), screen.height());
  if (!composed) return;
  std::memcpy(composed->bits(), screen.bits(), static_cast<size_t>(screen.stride()) * screen.height());
  if (modal_ == Modal::message_box) draw_message_box(*composed, box_);
  if (modal_ == Modal::menu) draw_menu(*composed, menu_);
  window_.present(*composed);
}

}  // namespace zeb::sdl
