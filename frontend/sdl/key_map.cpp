#include "frontend/sdl/key_map.h"


namespace zeb::sdl {

int vk_of_key(SDL_Keycode key) {
  if (key >= SDLK_0 && key <= SDLK_9) return vk::digit_0 + (key - SDLK_0);
  if (key >= SDLK_a && key <= SDLK_z) return vk::letter_a + (key - SDLK_a);
  if (key >= SDLK_KP_1 && key <= SDLK_KP_9) return vk::digit_0 + 1 + (key - SDLK_KP_1);
  switch (key) {
    case SDLK_KP_0: return vk::digit_0;
    case SDLK_BACKSPACE: return vk::back;
    case SDLK_RETURN:
    case SDLK_KP_ENTER: return vk::enter;
    case SDLK_ESCAPE:
    case SDLK_AC_BACK: return vk::escape;
    case SDLK_LEFT: return vk::left;
    case SDLK_UP: return vk::up;
    case SDLK_RIGHT: return vk::right;
    case SDLK_DOWN: return vk::down;
    case SDLK_SPACE: return vk::space;
    case SDLK_PAGEUP: return vk::page_up;
    case SDLK_PAGEDOWN: return vk::page_down;
    case SDLK_HOME: return vk::home;
    case SDLK_END: return vk::end;
    case SDLK_F1: return vk::game_a;
    case SDLK_F2: return vk::game_b;
    case SDLK_F3: return vk::game_c;
    case SDLK_F4: return vk::game_start;
    default: return 0;
  }
}

int vk_of_button(SDL_GameControllerButton button) {
  switch (button) {
    case SDL_CONTROLLER_BUTTON_A: return vk::game_a;
    case SDL_CONTROLLER_BUTTON_B: return vk::game_b;
    case SDL_CONTROLLER_BUTTON_X: return vk::game_c;
    case SDL_CONTROLLER_BUTTON_START: return vk::game_start;
    case SDL_CONTROLLER_BUTTON_DPAD_LEFT: return vk::left;
    case SDL_CONTROLLER_BUTTON_DPAD_RIGHT: return vk::right;
    case SDL_CONTROLLER_BUTTON_DPAD_UP: return vk::up;
    case SDL_CONTROLLER_BUTTON_DPAD_DOWN: return vk::down;
    // Handheld readers turn pages with the shoulder buttons: they are the
    // page keys, so they act where those act and no binding learns them.
    case SDL_CONTROLLER_BUTTON_LEFTSHOULDER: return vk::page_up;
    case SDL_CONTROLLER_BUTTON_RIGHTSHOULDER: return vk::page_down;
    default: return 0;
  }
}

bool typed_by_key(char16_t ch) { return ch >= u'0' && ch <= u'9'; }

}  // namespace zeb::sdl
