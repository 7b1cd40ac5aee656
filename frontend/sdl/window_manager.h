#pragma once
// Whether full screen can be left to a window manager. Under X without one
// nobody acts on SDL's full-screen request: the window keeps its size while
// SDL draws for the display's, so the window must cover the display itself.
#include <SDL.h>

namespace zeb::sdl {

// True when the window stands on an X display that no window manager looks
// after. Asked of the X server through the X library SDL has loaded, found
// at run time: nothing here needs X to build or to run. Any other video
// driver (Wayland, KMSDRM, offscreen) answers false, quietly.
bool x_display_without_window_manager(SDL_Window* window);

}  // namespace zeb::sdl
