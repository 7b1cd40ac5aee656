#include "frontend/sdl/session.h"

#include <algorithm>
#include <cstring>

#include "app/desktop_input.h"
#include "app/main_window.h"
#include "app/messages.h"
#include "app/open_target.h"
#include "app/pointer.h"
#include "core/control_ids.h"
#include "frontend/sdl/key_map.h"
#include "host/end_signals.h"
#include "host/text.h"

namespace zeb::sdl {
namespace {

constexpr std::uint64_t kTickMs = ctl::timer_period_ms;  // the viewer's timer period, in milliseconds
// Under a video driver that cannot wait for input, the loop looks for
// events this often (ms): a hundred wake-ups a second instead of SDL's
// thousand, and input still answered at once to the eye.
constexpr std::uint64_t kPollStepMs = 10;

// The drivers whose wait for events sleeps until input or the timeout.
bool driver_can_wait() {
  const char* driver = SDL_GetCurrentVideoDriver();
  return driver && (std::strcmp(driver, "x11") == 0 || std::strcmp(driver, "wayland") == 0);
}

// The next event, or false after `ms` without one.
bool wait_event(SDL_Event& e, std::uint64_t ms, bool driver_waits) {
  if (driver_waits) return SDL_WaitEventTimeout(&e, static_cast<int>(ms)) == 1;
  if (SDL_PollEvent(&e) == 1) return true;
  SDL_Delay(static_cast<Uint32>(std::min(ms, kPollStepMs)));
  return SDL_PollEvent(&e) == 1;
}

int key_vk(const SDL_Event& e) {
  if (e.type == SDL_KEYDOWN || e.type == SDL_KEYUP) return vk_of_key(e.key.keysym.sym);
  if (e.type == SDL_CONTROLLERBUTTONDOWN || e.type == SDL_CONTROLLERBUTTONUP)
    return vk_of_button(static_cast<SDL_GameControllerButton>(e.cbutton.button));
  return 0;
}

bool is_press(const SDL_Event& e) { return e.type == SDL_KEYDOWN || e.type == SDL_CONTROLLERBUTTONDOWN; }

bool is_size_change(Uint8 event) {
  return event == SDL_WINDOWEVENT_SIZE_CHANGED || event == SDL_WINDOWEVENT_MAXIMIZED ||
         event == SDL_WINDOWEVENT_RESTORED;
}

// The window's contents are gone or stand elsewhere: shown, uncovered,
// resized, restored, moved (to another display too).
bool needs_screen_again(Uint8 event) {
  switch (event) {
    case SDL_WINDOWEVENT_SHOWN:
    case SDL_WINDOWEVENT_EXPOSED:
    case SDL_WINDOWEVENT_MOVED:
    case SDL_WINDOWEVENT_RESIZED:
    case SDL_WINDOWEVENT_SIZE_CHANGED:
    case SDL_WINDOWEVENT_MAXIMIZED:
    case SDL_WINDOWEVENT_RESTORED:
    case SDL_WINDOWEVENT_DISPLAY_CHANGED: return true;
    default: return false;
  }
}

}  // namespace

Session::Session(Viewer& v, Window& window, platform::InstanceGuard* guard)
    : v_(v), window_(window), guard_(guard) {
  next_tick_ms_ = SDL_GetTicks64() + kTickMs;
  driver_waits_ = driver_can_wait();
  SDL_StartTextInput();
}

Session::~Session() {
  for (SDL_GameController* pad : pads_) SDL_GameControllerClose(pad);
}

void Session::run() {
  full_screen_requests_ = v_.platform.window.full_screen_requests;
  SDL_Event e;
  while (!v_.platform.ended) {
    bool got = next_event(e);
    while (got && !v_.platform.ended) {
      if (!handle_window_event(e)) handle_input(e);
      got = SDL_PollEvent(&e) == 1;
    }
    open_handed_paths();
    end_if_closed();
    follow_window_state();
    if (!v_.platform.ended) present_if_changed();
  }
}

void Session::end_if_closed() {
  if (!close_requested_ || modal_ != Modal::none || v_.platform.ended) return;
  save_and_end(v_);
}

bool Session::next_event(SDL_Event& e) {
  if (platform::end_signal_received()) close_requested_ = true;
  const std::uint64_t now = SDL_GetTicks64();
  if (now >= next_tick_ms_) {
    // A press read now is handled before the tick, which carries out the
    // request it makes, as it would a key's.
    if (!pads_read_) {
      pads_read_ = true;
      if (read_pads() && SDL_PollEvent(&e) == 1) return true;
    }
    pads_read_ = false;
    // A late tick runs once; the clock does not try to catch up.
    next_tick_ms_ = std::max(next_tick_ms_ + kTickMs, now + 1);
    tick();
    return false;
  }
  return wait_event(e, next_tick_ms_ - now, driver_waits_);
}

// The kernel queues a pad's button changes and SDL's update reads all of
// them, so a press and its release between two ticks both arrive. The
// update also finds pads plugged in or out.
bool Session::read_pads() {
  const auto pad_events = [] {
    return SDL_PeepEvents(nullptr, 0, SDL_PEEKEVENT, SDL_JOYAXISMOTION, SDL_CONTROLLERSENSORUPDATE);
  };
  const int before = pad_events();
  SDL_GameControllerUpdate();
  return pad_events() > before;
}

void Session::tick() {
  timer_tick(v_);
  window_.keep_on_display();
  serve_later_starts();
  follow_window_state();
}

void Session::serve_later_starts() {
  if (!guard_) return;
  platform::InstanceGuard::Requests requests = guard_->take_requests();
  if (requests.raise) {
    window_.raise();
    focus_ = true;
  }
  for (std::string& path : requests.paths) handed_paths_.push_back(std::move(path));
}

// A handed path waits while a message box or menu is open.
void Session::open_handed_paths() {
  if (modal_ != Modal::none || handed_paths_.empty()) return;
  const std::vector<std::string> paths = std::move(handed_paths_);
  handed_paths_.clear();
  for (const std::string& path : paths) {
    if (v_.platform.ended) return;
    open_handed_over(v_, path);
    settle();
  }
}

// The viewer minimises its window, and asks for it to cover the screen
// again, through its placement.
void Session::follow_window_state() {
  const platform::WindowPlacement& placement = v_.platform.window;
  if (placement.minimized != minimised_) {
    minimised_ = placement.minimized;
    if (minimised_) {
      focus_ = false;  // until the user brings the window back
      window_.minimise();
    } else {
      window_.restore();
      present_due_ = true;
    }
  }
  if (placement.full_screen_requests != full_screen_requests_ && !minimised_) {
    full_screen_requests_ = placement.full_screen_requests;
    window_.return_to_chosen_mode();
  }
}

bool Session::handle_window_event(const SDL_Event& e) {
  switch (e.type) {
    case SDL_QUIT: close_requested_ = true; return true;
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
        case SDL_WINDOWEVENT_CLOSE: close_requested_ = true; break;
        default: break;
      }
      window_.keep_on_display();
      if (is_size_change(e.window.event)) window_.note_resized();
      if (needs_screen_again(e.window.event)) present_due_ = true;
      return true;
    default:
      return false;
  }
}

void Session::handle_input(const SDL_Event& e) {
  switch (e.type) {
    case SDL_MOUSEBUTTONDOWN:
      // A press on the black beside the screen touches nothing.
      if (e.button.button != SDL_BUTTON_LEFT || !stylus_point(e.button.x, e.button.y)) return;
      focus_ = true;
      // The platform counts the presses of a double-click (within its
      // double-click time, at one place) as the events arrive, so a
      // double-click stays one however late it is handled.
      stylus_.down(v_, last_x_, last_y_, e.button.clicks);
      break;
    case SDL_MOUSEMOTION:
      stylus_point(e.motion.x, e.motion.y);
      if (!stylus_.held()) return;
      stylus_.move(v_, last_x_, last_y_);
      break;
    case SDL_MOUSEBUTTONUP:
      if (e.button.button != SDL_BUTTON_LEFT) return;
      stylus_point(e.button.x, e.button.y);
      stylus_.up(v_, last_x_, last_y_);
      break;
    case SDL_MOUSEWHEEL:
      wheel(v_, last_x_, last_y_, e.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -e.wheel.y : e.wheel.y);
      break;
    case SDL_TEXTINPUT: handle_text(e.text.text); break;
    case SDL_KEYDOWN:
      if (e.key.keysym.sym == SDLK_F11) {
        if (!e.key.repeat) window_.toggle_full_screen();
        return;
      }
      [[fallthrough]];
    default:
      if (int vk = key_vk(e)) handle_key(vk, is_press(e));
      else return;
  }
  settle();
}

bool Session::stylus_point(int wx, int wy) { return window_.to_screen(wx, wy, last_x_, last_y_); }

// Paints what the event asked for; the pump also redraws controls whose
// state changed and repaints when one was shown or hidden.
void Session::settle() { pump(v_); }

void Session::handle_key(int vk, bool down) {
  focus_ = true;
  if (down) {
    key_press(v_, vk);
  } else {
    key_release(v_, vk);
  }
}

void Session::handle_text(const char* utf8) {
  std::u16string typed;
  for (char16_t ch : text::from_utf8(utf8))
    if (!typed_by_key(ch)) typed.push_back(ch);
  if (!typed.empty()) type_text(v_, typed);
}

}  // namespace zeb::sdl
