// The message box and the pop-up menu: nested loops in which the timer keeps
// ticking and every paint still reaches the screen, drawn over by the box.
#include <climits>

#include "frontend/sdl/key_map.h"
#include "frontend/sdl/session.h"

namespace zeb::sdl {
namespace {

constexpr int kUndecided = INT_MIN;

// Keys and gamepad buttons as the virtual keys the boxes answer to.
int pressed_vk(const SDL_Event& e) {
  if (e.type == SDL_KEYDOWN) {
    if (e.key.keysym.sym == SDLK_TAB) return vk::right;
    return vk_of_key(e.key.keysym.sym);
  }
  if (e.type == SDL_CONTROLLERBUTTONDOWN) {
    const int vk = vk_of_button(static_cast<SDL_GameControllerButton>(e.cbutton.button));
    if (vk == vk::game_a) return vk::enter;
    if (vk == vk::game_b) return vk::escape;
    return vk;
  }
  return 0;
}

}  // namespace

bool Session::ask(const std::u16string& text, const std::u16string& caption) {
  if (modal_ != Modal::none) return false;
  stylus_.cancel(v_);
  modal_ = Modal::message_box;
  box_ = MessageBoxView{text, caption, 0};
  present_due_ = true;
  int answer = kUndecided;
  SDL_Event e;
  while (answer == kUndecided && !v_.platform.ended) {
    if (next_event(e) && !handle_window_event(e)) answer = message_box_input(e);
    // Closing the window answers No; the viewer then ends with its settings.
    if (close_requested_) answer = 0;
    present_if_changed();
  }
  modal_ = Modal::none;
  present_due_ = true;
  return answer == 1;
}

// 1 for Yes, 0 for No, kUndecided while the box stays open.
int Session::message_box_input(const SDL_Event& e) {
  if (e.type == SDL_MOUSEBUTTONDOWN || e.type == SDL_MOUSEBUTTONUP) {
    if (e.type == SDL_MOUSEBUTTONUP) v_.platform.keys.set_stylus(false);
    int x = 0, y = 0;
    if (!window_.to_screen(e.button.x, e.button.y, x, y)) return kUndecided;
    for (int i = 0; i < 2; ++i) {
      if (!message_box_button(i).contains(x, y)) continue;
      if (e.type == SDL_MOUSEBUTTONUP) return i == 0 ? 1 : 0;
      box_.focused = i;
      present_due_ = true;
    }
    return kUndecided;
  }
  if (e.type == SDL_KEYDOWN && (e.key.keysym.sym == SDLK_y || e.key.keysym.sym == SDLK_n))
    return e.key.keysym.sym == SDLK_y ? 1 : 0;
  switch (pressed_vk(e)) {
    case vk::enter: return box_.focused == 0 ? 1 : 0;
    case vk::escape: return 0;
    case vk::left:
    case vk::right:
      box_.focused = 1 - box_.focused;
      present_due_ = true;
      return kUndecided;
    default: return kUndecided;
  }
}

int Session::choose(const std::vector<platform::MenuItem>& items) {
  if (modal_ != Modal::none || items.empty()) return 0;
  modal_ = Modal::menu;
  menu_ = MenuView{items, last_x_, last_y_, 0, 0};
  menu_armed_ = false;
  present_due_ = true;
  int choice = kUndecided;
  SDL_Event e;
  while (choice == kUndecided && !v_.platform.ended) {
    if (next_event(e) && !handle_window_event(e)) choice = menu_input(e);
    if (close_requested_) choice = 0;
    present_if_changed();
  }
  modal_ = Modal::none;
  // The press that opened the menu, or that chose from it, ends here.
  stylus_.cancel(v_);
  present_due_ = true;
  return choice == kUndecided ? 0 : choice;
}

// The chosen item's id, 0 when dismissed, kUndecided while open. A release
// over an item chooses it; a press outside the menu dismisses it.
int Session::menu_input(const SDL_Event& e) {
  const bool button = e.type == SDL_MOUSEBUTTONDOWN || e.type == SDL_MOUSEBUTTONUP;
  if (button || (e.type == SDL_MOUSEMOTION && (e.motion.state & SDL_BUTTON_LMASK))) {
    int x = 0, y = 0;
    // A press beside the screen lies outside the menu too.
    if (!window_.to_screen(button ? e.button.x : e.motion.x, button ? e.button.y : e.motion.y, x, y)) x = -1, y = -1;
    const int item = menu_item_at(menu_, x, y);
    if (e.type == SDL_MOUSEBUTTONDOWN && !menu_rect(menu_).contains(x, y)) return 0;
    if (e.type == SDL_MOUSEBUTTONDOWN) menu_armed_ = true;
    if (item >= 0 && item != menu_.highlighted) menu_.highlighted = item, menu_armed_ = true, present_due_ = true;
    if (e.type == SDL_MOUSEBUTTONUP && menu_armed_ && item >= 0 && menu_.items[item].id != 0)
      return menu_.items[item].id;
    return kUndecided;
  }
  if (e.type == SDL_MOUSEWHEEL) {
    move_menu_highlight(menu_, e.wheel.y > 0 ? -1 : 1);
    present_due_ = true;
    return kUndecided;
  }
  switch (pressed_vk(e)) {
    case vk::enter: return menu_.items[menu_.highlighted].id;
    case vk::escape: return 0;
    case vk::up:
    case vk::down:
      move_menu_highlight(menu_, pressed_vk(e) == vk::up ? -1 : 1);
      present_due_ = true;
      return kUndecided;
    default: return kUndecided;
  }
}

}  // namespace zeb::sdl
