#include "frontend/sdl/session.h"

#include <algorithm>
#include <cstring>

#include "app/control_ids.h"
#include "app/messages.h"
#include "frontend/sdl/key_map.h"
#include "platform/draw.h"
#include "platform/text.h"

namespace zeb::sdl {
namespace {

constexpr std::uint64_t kTickMs = 100;  // the viewer's timer period

int clamp_x(int x) { return std::clamp(x, 0, platform::kScreenWidth - 1); }
int clamp_y(int y) { return std::clamp(y, 0, platform::kScreenHeight - 1); }

int key_vk(const SDL_Event& e) {
  if (e.type == SDL_KEYDOWN || e.type == SDL_KEYUP) return vk_of_key(e.key.keysym.sym);
  if (e.type == SDL_CONTROLLERBUTTONDOWN || e.type == SDL_CONTROLLERBUTTONUP)
    return vk_of_button(static_cast<SDL_GameControllerButton>(e.cbutton.button));
  return 0;
}

bool is_press(const SDL_Event& e) { return e.type == SDL_KEYDOWN || e.type == SDL_CONTROLLERBUTTONDOWN; }

bool is_close(const SDL_Event& e) {
  return e.type == SDL_WINDOWEVENT && e.window.event == SDL_WINDOWEVENT_CLOSE;
}

}  // namespace

Session::Session(Viewer& v, Window& window, platform::InstanceGuard* guard)
    : v_(v), window_(window), guard_(guard) {
  next_tick_ms_ = SDL_GetTicks64() + kTickMs;
  SDL_StartTextInput();
}

Session::~Session() {
  for (SDL_GameController* pad : pads_) SDL_GameControllerClose(pad);
}

void Session::run() {
  SDL_Event e;
  while (!v_.platform.ended) {
    bool got = next_event(e);
    while (got && !v_.platform.ended) {
      if (!handle_window_event(e)) handle_input(e);
      got = SDL_PollEvent(&e) == 1;
    }
    follow_window_state();
    if (dirty_) present();
  }
}

bool Session::next_event(SDL_Event& e) {
  const std::uint64_t now = SDL_GetTicks64();
  if (now >= next_tick_ms_) {
    // A late tick runs once; the clock does not try to catch up.
    next_tick_ms_ = std::max(next_tick_ms_ + kTickMs, now + 1);
    tick();
    return false;
  }
  return SDL_WaitEventTimeout(&e, static_cast<int>(next_tick_ms_ - now)) == 1;
}

void Session::tick() {
  timer_tick(v_);
  dirty_ = true;
  if (guard_ && guard_->raise_requested()) {
    window_.raise();
    focus_ = true;
  }
  follow_window_state();
}

// The viewer minimises and restores its window through its placement.
void Session::follow_window_state() {
  if (v_.platform.window.minimized == minimised_) return;
  minimised_ = v_.platform.window.minimized;
  if (minimised_) {
    focus_ = false;  // until the user brings the window back
    window_.minimise();
  } else {
    window_.restore();
  }
}

bool Session::handle_window_event(const SDL_Event& e) {
  switch (e.type) {
    case SDL_QUIT:  // a signal: end at once, as the quit button does
      v_.platform.end_main_window();
      return true;
    case SDL_CONTROLLERDEVICEADDED:
      if (SDL_GameController* pad = SDL_GameControllerOpen(e.cdevice.which)) pads_.push_back(pad);
      return true;
    case SDL_CONTROLLERDEVICEREMOVED:
      std::erase_if(pads_, [&](SDL_GameController* pad) {
        const bool gone = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(pad)) == e.cdevice.which;
        if (gone) SDL_GameControllerClose(pad);
        return gone;
      });
      return true;
    case SDL_WINDOWEVENT:
      switch (e.window.event) {
        case SDL_WINDOWEVENT_FOCUS_GAINED:
        case SDL_WINDOWEVENT_RESTORED: focus_ = true; break;
        case SDL_WINDOWEVENT_FOCUS_LOST: focus_ = false; break;
        case SDL_WINDOWEVENT_CLOSE: return false;  // the Cancel command, or a dismissal
        default: break;
      }
      dirty_ = true;
      return true;
    default:
      return false;
  }
}

void Session::handle_input(const SDL_Event& e) {
  switch (e.type) {
    case SDL_MOUSEBUTTONDOWN:
      if (e.button.button != SDL_BUTTON_LEFT) return;
      focus_ = true;
      last_x_ = clamp_x(e.button.x), last_y_ = clamp_y(e.button.y);
      stylus_.down(v_, last_x_, last_y_, SDL_GetTicks64());
      break;
    case SDL_MOUSEMOTION:
      last_x_ = clamp_x(e.motion.x), last_y_ = clamp_y(e.motion.y);
      if (!stylus_.held()) return;
      stylus_.move(v_, last_x_, last_y_);
      break;
    case SDL_MOUSEBUTTONUP:
      if (e.button.button != SDL_BUTTON_LEFT) return;
      stylus_.up(v_, clamp_x(e.button.x), clamp_y(e.button.y));
      break;
    case SDL_MOUSEWHEEL:
      stylus_.wheel(v_, last_x_, last_y_, e.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -e.wheel.y : e.wheel.y);
      break;
    case SDL_TEXTINPUT: handle_text(e.text.text); break;
    default:
      if (is_close(e)) command(v_, ctl::cmd_cancel);
      else if (int vk = key_vk(e)) handle_key(vk, is_press(e));
      else return;
  }
  settle();
}

// Paints what the event asked for; the pump also redraws controls whose
// state changed and repaints when one was shown or hidden.
void Session::settle() {
  pump(v_);
  dirty_ = true;
}

void Session::handle_key(int vk, bool down) {
  focus_ = true;
  v_.platform.keys.set(vk, down);
  if (!down) return key_up(v_, vk);
  key_down(v_, vk);
  // Enter and Escape are the window's OK and Cancel commands.
  if (vk == kVkReturn && !v_.platform.ended) command(v_, ctl::cmd_ok);
  if (vk == kVkEscape && !v_.platform.ended) command(v_, ctl::cmd_cancel);
}

void Session::handle_text(const char* utf8) {
  std::u16string typed;
  for (char16_t ch : text::from_utf8(utf8))
    if (!typed_by_key(ch)) typed.push_back(ch);
  if (!typed.empty()) type_text(v_, typed);
}

void Session::present() {
  dirty_ = false;
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
