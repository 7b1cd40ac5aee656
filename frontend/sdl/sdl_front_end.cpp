// The window front end: options, the single-instance guard, SDL, the viewer's
// start-up, the event loop and the end.
#include "frontend/sdl/sdl_front_end.h"

#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <string>

#include "app/controls.h"
#include "app/messages.h"
#include "app/open_target.h"
#include "app/startup.h"
#include "frontend/sdl/renderer.h"
#include "frontend/sdl/session.h"
#include "frontend/sdl/window_host.h"
#include "host/end_signals.h"
#include "host/files.h"
#include "host/instance.h"
#include "host/text.h"

namespace zeb::sdl {
namespace {

struct Options {
  WindowOptions window;
  std::string root = "/";
  std::string settings;
  std::optional<std::string> location;
  bool read_ahead = true;
  bool plain_turns = false;
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

bool parse_options(const std::vector<std::string>& args, Options& o) {
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    const bool takes_value =
        a == "--scale" || a == "--root" || a == "--settings" || a == "--rotate" || a == "--renderer";
    if (takes_value && i + 1 >= args.size()) {
      std::fprintf(stderr, "zeb: %s needs a value\n", a.c_str());
      return false;
    }
    if (a == "--scale") {
      if (!parse_scale(args[++i], o.window.scale)) {
        std::fprintf(stderr, "zeb: --scale takes a whole number from 1 to 16\n");
        return false;
      }
    } else if (a == "--rotate") {
      if (!parse_turn(args[++i], o.window.turn)) {
        std::fprintf(stderr, "zeb: --rotate takes 0, 90, 180 or 270 (degrees clockwise)\n");
        return false;
      }
    } else if (a == "--renderer") {
      if (!parse_renderer_choice(args[++i], o.window.renderer)) {
        std::fprintf(stderr, "zeb: --renderer takes software or accelerated\n");
        return false;
      }
    } else if (a == "--fullscreen") {
      o.window.full_screen = true;
    } else if (a == "--root") {
      o.root = args[++i];
    } else if (a == "--settings") {
      o.settings = args[++i];
    } else if (a == "--no-read-ahead") {
      o.read_ahead = false;
    } else if (a == "--plain-turns") {
      o.plain_turns = true;
    } else if (!a.empty() && a[0] == '-') {
      std::fprintf(stderr, "zeb: unknown option %s (see zeb --help)\n", a.c_str());
      return false;
    } else if (o.location) {
      std::fprintf(stderr, "zeb: only one location may be given\n");
      return false;
    } else {
      o.location = a;
    }
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

int run_viewer(platform::Platform& platform, const Options& o, platform::InstanceGuard& guard,
               const OpenTarget* target) {
  std::string error;
  auto window = Window::open(o.window, error);
  if (!window) {
    std::fprintf(stderr, "zeb: cannot open a window (%s); zeb --headless runs without one\n", error.c_str());
    return 2;
  }
  WindowHost host;
  platform.host = &host;
  auto viewer = std::make_unique<Viewer>(platform);
  Session session(*viewer, *window, &guard);
  host.attach(&session);
  create_controls(*viewer);
  initialise_main_window(*viewer, target);
  pump(*viewer);
  session.run();
  destroy_main_window(*viewer);
  host.attach(nullptr);
  return 0;
}

}  // namespace

int run(const std::vector<std::string>& args) {
  Options o;
  if (!parse_options(args, o)) return 2;
  platform::Platform platform;
  platform.storage = platform::Storage(o.root);
  platform.read_ahead = o.read_ahead;
  platform.keep_pages = !o.plain_turns;
  platform.view_while_decoding = !o.plain_turns;
  platform.app_dir_host = platform::resolve_app_dir(o.settings);
  if (o.location && !platform::host_dir_exists(*o.location) && !platform::host_file_exists(*o.location)) {
    std::fprintf(stderr, "zeb: %s does not exist\n", o.location->c_str());
    return 2;
  }
  // Two viewers must never share one set of settings files: a second start
  // hands its location to the first (or only raises it) and ends.
  platform::InstanceGuard guard(platform.app_dir_host + "/" + platform::kSettingsFolderName, o.location.value_or(""));
  if (guard.already_running()) return 0;
  std::optional<OpenTarget> target;
  std::string why;
  if (o.location && !(target = open_target_of(platform.storage, *o.location, why))) {
    std::fprintf(stderr, "zeb: %s\n", why.c_str());
    return 2;
  }
  platform::watch_end_signals();
  // Forked before SDL connects to the display, asked only after.
  RendererProbe probe(o.window.renderer);
  if (!start_sdl()) return 2;
  o.window.renderer = probe.settle();
  const int status = run_viewer(platform, o, guard, target ? &*target : nullptr);
  SDL_Quit();
  return status;
}

}  // namespace zeb::sdl
