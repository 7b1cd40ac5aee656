#pragma once
// Keyboard and gamepad input as the viewer's virtual-key codes.
#include <SDL.h>

namespace zeb::sdl {

constexpr int kVkBack = 0x08;
constexpr int kVkReturn = 0x0D;
constexpr int kVkEscape = 0x1B;
constexpr int kVkLeft = 0x25, kVkUp = 0x26, kVkRight = 0x27, kVkDown = 0x28;
// The game-input keys A, B, C and Start.
constexpr int kVkGameA = 0xC1, kVkGameB = 0xC2, kVkGameC = 0xC3, kVkGameStart = 0xC4;

// The virtual key of a keyboard key, or 0 for a key the viewer ignores.
int vk_of_key(SDL_Keycode key);
// The virtual key of a gamepad button, or 0.
int vk_of_button(SDL_GameControllerButton button);
// Whether typed text that arrives for this character was already delivered
// as a key press (digits reach a focused edit through their key).
bool typed_by_key(char16_t ch);

}  // namespace zeb::sdl
