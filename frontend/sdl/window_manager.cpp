#include "frontend/sdl/window_manager.h"

#include <SDL_syswm.h>

namespace zeb::sdl {
namespace {

// The few X library functions the question needs.
struct XLibrary {
  using InternAtom = Atom (*)(Display*, const char*, Bool);
  using RootWindowOf = Window (*)(Display*);
  using GetWindowProperty = int (*)(Display*, Window, Atom, long, long, Bool, Atom, Atom*, int*, unsigned long*,
                                    unsigned long*, unsigned char**);
  using Free = int (*)(void*);

  void* handle = SDL_LoadObject("libX11.so.6");
  InternAtom intern_atom = reinterpret_cast<InternAtom>(find("XInternAtom"));
  RootWindowOf root_window = reinterpret_cast<RootWindowOf>(find("XDefaultRootWindow"));
  GetWindowProperty get_property = reinterpret_cast<GetWindowProperty>(find("XGetWindowProperty"));
  Free free = reinterpret_cast<Free>(find("XFree"));

  XLibrary() = default;
  XLibrary(const XLibrary&) = delete;
  XLibrary& operator=(const XLibrary&) = delete;
  ~XLibrary() {
    if (handle) SDL_UnloadObject(handle);
  }
  bool loaded() const { return intern_atom && root_window && get_property && free; }
  void* find(const char* name) const { return handle ? SDL_LoadFunction(handle, name) : nullptr; }
};

// A window manager names its own window on the root window
// (_NET_SUPPORTING_WM_CHECK) for as long as it runs.
bool names_window_manager(const XLibrary& x, Display* display) {
  const Atom check = x.intern_atom(display, "_NET_SUPPORTING_WM_CHECK", True);
  if (check == None) return false;
  Atom type = None;
  int format = 0;
  unsigned long items = 0, after = 0;
  unsigned char* data = nullptr;
  const int status = x.get_property(display, x.root_window(display), check, 0, 1, False, XA_WINDOW, &type, &format,
                                    &items, &after, &data);
  const bool named = status == Success && type == XA_WINDOW && format == 32 && items == 1 && data &&
                     *reinterpret_cast<Window*>(data) != None;
  if (data) x.free(data);
  return named;
}

}  // namespace

bool x_display_without_window_manager(SDL_Window* window) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return false;
  const XLibrary x;
  // Without the library's answer, SDL's own full screen as before.
  return x.loaded() && !names_window_manager(x, info.info.x11.display);
}

}  // namespace zeb::sdl
