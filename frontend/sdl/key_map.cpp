#include "frontend/sdl/key_map.h"

#include "app/desktop_input.h"

namespace zeb::sdl {

int vk_of_key(SDL_Keycode key) {
  if (key >= SDLK_0 && key <= SDLK_9) return 0x30 + (key - SDLK_0);
  if (key >= SDLK_a && key <= SDLK_z) return 0x41 + (key - SDLK_a);
  if (key >= SDLK_KP_1 && key <= SDLK_KP_9) return 0x31 + (key - SDLK_KP_1);
  switch (key) {
    case SDLK_KP_0: return 0x30;
    case SDLK_BACKSPACE: return kVkBack;
    case SDLK_RETURN:
    case SDLK_KP_ENTER: return kVkReturn;
    case SDLK_ESCAPE:
    case SDLK_AC_BACK: return kVkEscape;
    case SDLK_LEFT: return kVkLeft;
    case SDLK_UP: return kVkUp;
    case SDLK_RIGHT: return kVkRight;
    case SDLK_DOWN: return kVkDown;
    case SDLK_SPACE: return kVkSpace;
    case SDLK_PAGEUP: return kVkPageUp;
    case SDLK_PAGEDOWN: return kVkPageDown;
    case SDLK_HOME: return kVkHome;
    case SDLK_END: return kVkEnd;
    case SDLK_F1: return kVkGameA;
    case SDLK_F2: return kVkGameB;
    case SDLK_F3: return kVkGameC;
    case SDLK_F4: return kVkGameStart;
    default: return 0;
  }
}

int vk_of_button(SDL_GameControllerButton button) {
  switch (button) {
    case SDL_CONTROLLER_BUTTON_A: return kVkGameA;
    case SDL_CONTROLLER_BUTTON_B: return kVkGameB;
    case SDL_CONTROLLER_BUTTON_X: return kVkGameC;
    case SDL_CONTROLLER_BUTTON_START: return kVkGameStart;
    case SDL_CONTROLLER_BUTTON_DPAD_LEFT: return kVkLeft;
    case SDL_CONTROLLER_BUTTON_DPAD_RIGHT: return kVkRight;
    case SDL_CONTROLLER_BUTTON_DPAD_UP: return kVkUp;
    case SDL_CONTROLLER_BUTTON_DPAD_DOWN: return kVkDown;
    default: return 0;
  }
}

bool typed_by_key(char16_t ch) { return ch >= u'0' && ch <= u'9'; }

}  // namespace zeb::sdl
