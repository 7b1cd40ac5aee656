// The window front end: its options, SDL and the window, the event loop and
// the end; the start it shares with the script front end.
#include "frontend/sdl/sdl_front_end.h"

#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <memory>
#include <string>

#include "app/launch.h"
#include "frontend/sdl/renderer.h"
#include "frontend/sdl/session.h"
#include "frontend/sdl/window_host.h"
#include "host/end_signals.h"
#include "host/text.h"

namespace zeb::sdl {
namespace {

struct Options {
  WindowOptions window;
  StartOptions start;
};

bool parse_scale(const std::string& word, int& scale) {
  scale = text::parse_int(word);
  return scale >= 1 && scale <= 16 && word.find_first_not_of("0123456789") == std::string::npos;
}

bool parse_turn(const std::string& word, int& turn) {
  for (int t : {0, 90, 180, 270})
    if (word == std::to_string(t)) turn = t;
  return word == std::to_string(turn);
}

// Takes args[i] when it is one of the window's own options, stepping i over
// its value; refused, with a message, when the value is missing or not one
// the option allows.
OptionTaken take_window_option(const std::vector<std::string>& args, size_t& i, WindowOptions& o) {
  const std::string& a = args[i];
  if (a == "--fullscreen") {
    o.full_screen = true;
    return OptionTaken::yes;
  }
  if (a != "--scale" && a != "--rotate" && a != "--renderer") return OptionTaken::no;
  if (i + 1 >= args.size()) {
    std::fprintf(stderr, "zeb: %s needs a value\n", a.c_str());
    return OptionTaken::refused;
  }
  const std::string& value = args[++i];
  const char* refusal = nullptr;
  if (a == "--scale" && !parse_scale(value, o.scale)) refusal = "--scale takes a whole number from 1 to 16";
  if (a == "--rotate" && !parse_turn(value, o.turn)) refusal = "--rotate takes 0, 90, 180 or 270 (degrees clockwise)";
  if (a == "--renderer" && !parse_renderer_choice(value, o.renderer))
    refusal = "--renderer takes software or accelerated";
  if (!refusal) return OptionTaken::yes;
  std::fprintf(stderr, "zeb: %s\n", refusal);
  return OptionTaken::refused;
}

bool parse_options(const std::vector<std::string>& args, Options& o) {
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    OptionTaken taken = take_start_option(args, i, o.start, std::cerr);
    if (taken == OptionTaken::no) taken = take_window_option(args, i, o.window);
    if (taken == OptionTaken::refused) return false;
    if (taken == OptionTaken::yes) continue;
    if (!a.empty() && a[0] == '-') {
      std::fprintf(stderr, "zeb: unknown option %s (see zeb --help)\n", a.c_str());
      return false;
    }
    if (!take_location(a, o.start, std::cerr)) return false;
  }
  return true;
}

void explain_no_window(const char* why) {
  std::fprintf(stderr,
               "zeb: cannot open a window (%s).\n"
               "zeb: without a display, run the viewer headless: zeb --headless (see zeb --help)\n",
               why);
}

// SDL falls back to drivers that show nothing when there is no display;
// those count as no display unless they were asked for by name.
bool shows_nothing(const char* driver) {
  const char* wanted = std::getenv("SDL_VIDEODRIVER");
  const bool invisible = driver && (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0);
  return invisible && !(wanted && std::strcmp(wanted, driver) == 0);
}

// The display the environment names, or null when it names none.
const char* named_display() {
  for (const char* variable : {"DISPLAY", "WAYLAND_DISPLAY"}) {
    const char* name = std::getenv(variable);
    if (name && *name) return name;
  }
  return nullptr;
}

void set_sdl_hints() {
  // Closing the window ends the viewer through its own exit, not SDL's; the
  // end signals are the viewer's to watch.
  SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  // A tap always counts, also the one that brings the window into focus (as
  // on a touch screen); SDL would otherwise drop a press that comes right
  // after the focus.
  SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
}

// An X server without other clients resets when its last client leaves,
// and drops every connection it accepted meanwhile: a viewer started as a
// kiosk's only client, or right after another program ended, may connect
// just then. A named display is therefore tried again, a bounded number of
// times with growing pauses (about 4 s in all).
constexpr int kDisplayAttempts = 10;
constexpr int kLongestPauseMs = 800;

// Starts SDL's video on a display that shows something, or leaves it
// stopped with SDL's error in `why` (empty when SDL only found no display).
bool start_video(std::string& why) {
  set_sdl_hints();
  why.clear();
  if (SDL_Init(SDL_INIT_VIDEO) != 0) why = SDL_GetError();
  else if (!shows_nothing(SDL_GetCurrentVideoDriver())) return true;
  SDL_Quit();
  return false;
}

bool start_sdl() {
  const char* display = named_display();
  std::string why;
  int pause_ms = 25;
  for (int attempt = 1; !start_video(why); ++attempt) {
    if (!display) {
      explain_no_window(why.empty() ? "no display found" : why.c_str());
      return false;
    }
    if (attempt == kDisplayAttempts) {
      std::string dropped = std::string("the display ") + display + " dropped the connection or is not running";
      if (!why.empty()) dropped += ": " + why;
      explain_no_window(dropped.c_str());
      return false;
    }
    SDL_Delay(static_cast<Uint32>(pause_ms));
    pause_ms = std::min(2 * pause_ms, kLongestPauseMs);
  }
  // Gamepads are optional: without them the keyboard still serves. While
  // SDL updates joysticks itself, its wait for events polls every
  // millisecond as long as any joystick is present; the session reads the
  // pads at every tick instead (see Session::read_pads).
  SDL_SetHint(SDL_HINT_AUTO_UPDATE_JOYSTICKS, "0");
  SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER);
  return true;
}

// The window's input and output: SDL's events in, the screen shown in the
// window, the message boxes and menus drawn in it.
class WindowFrontEnd : public FrontEnd {
 public:
  explicit WindowFrontEnd(WindowOptions options) : options_(options) {}
  platform::Host& host() override { return host_; }

  bool open() override {
    platform::watch_end_signals();
    // Forked before SDL connects to the display, asked only after.
    RendererProbe probe(options_.renderer);
    if (!start_sdl()) return false;
    options_.renderer = probe.settle();
    std::string error;
    window_ = Window::open(options_, error);
    if (!window_) {
      std::fprintf(stderr, "zeb: cannot open a window (%s); zeb --headless runs without one\n", error.c_str());
      SDL_Quit();
      return false;
    }
    return true;
  }

  void attach(Viewer& v, platform::InstanceGuard& guard) override {
    session_ = std::make_unique<Session>(v, *window_, &guard);
    host_.attach(session_.get());
  }

  int serve(Viewer&) override {
    session_->run();
    return 0;
  }

  void detach() override {
    host_.attach(nullptr);
    session_.reset();
    window_.reset();
    SDL_Quit();
  }

 private:
  WindowOptions options_;
  WindowHost host_;
  std::unique_ptr<Window> window_;
  std::unique_ptr<Session> session_;
};

}  // namespace

int run(const std::vector<std::string>& args) {
  Options o;
  if (!parse_options(args, o)) return 2;
  WindowFrontEnd front(o.window);
  return launch(o.start, front, std::cerr);
}

}  // namespace zeb::sdl
