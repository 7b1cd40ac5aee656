#pragma once
// Keyboard and gamepad input as the viewer's virtual-key codes.
#include <SDL.h>

#include "core/virtual_keys.h"

namespace zeb::sdl {

// The virtual key of a keyboard key, or 0 for a key the viewer ignores.
int vk_of_key(SDL_Keycode key);
// The virtual key of a gamepad button, or 0.
int vk_of_button(SDL_GameControllerButton button);
// Whether typed text that arrives for this character was already delivered
// as a key press (digits reach a focused edit through their key).
bool typed_by_key(char16_t ch);

}  // namespace zeb::sdl
