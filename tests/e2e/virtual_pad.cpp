// A gamepad for the window test, attached through SDL's own virtual
// joystick API as a handheld's built-in pad is: always present from the
// start. Preloaded into zeb (LD_PRELOAD); it attaches the pad as soon as
// zeb starts SDL's gamepad subsystem.
//
// Presses come from the file named by ZEB_PAD_SCRIPT, read on SIGUSR1:
// one press a line, "BUTTON DOWN_MS UP_MS" (SDL's button name, then when
// the press starts and ends, in ms from the signal). The pad queues their
// changes as the kernel queues a real pad's; since SDL's virtual driver
// reports a button as it stands at an update (a press and release between
// two updates would never be seen), the pad hands over one queued change,
// once it is due, at each update. A pad that is never updated presses
// nothing.
#include <SDL.h>
#include <dlfcn.h>

#include <algorithm>
#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <vector>

namespace {

struct Change {
  Uint64 at_ms;
  int button;
  bool down;
};

std::atomic<bool> script_due{false};
std::deque<Change> queue;  // in time order; touched on zeb's SDL thread only
SDL_Joystick* pad = nullptr;

void on_signal(int) { script_due = true; }

void read_script() {
  const char* path = std::getenv("ZEB_PAD_SCRIPT");
  FILE* f = path ? std::fopen(path, "r") : nullptr;
  if (!f) return;
  const Uint64 now = SDL_GetTicks64();
  std::vector<Change> changes;
  char name[64];
  unsigned down_ms = 0, up_ms = 0;
  while (std::fscanf(f, "%63s %u %u", name, &down_ms, &up_ms) == 3) {
    const SDL_GameControllerButton button = SDL_GameControllerGetButtonFromString(name);
    if (button == SDL_CONTROLLER_BUTTON_INVALID) continue;
    changes.push_back({now + down_ms, button, true});
    changes.push_back({now + up_ms, button, false});
  }
  std::fclose(f);
  std::stable_sort(changes.begin(), changes.end(), [](const Change& a, const Change& b) { return a.at_ms < b.at_ms; });
  queue.insert(queue.end(), changes.begin(), changes.end());
}

void SDLCALL update(void*) {
  if (script_due.exchange(false)) read_script();
  if (!pad || queue.empty() || queue.front().at_ms > SDL_GetTicks64()) return;
  SDL_JoystickSetVirtualButton(pad, queue.front().button, queue.front().down ? SDL_PRESSED : SDL_RELEASED);
  queue.pop_front();
}

void attach() {
  SDL_VirtualJoystickDesc desc{};
  desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
  desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
  desc.naxes = SDL_CONTROLLER_AXIS_MAX;
  desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
  desc.axis_mask = (1u << SDL_CONTROLLER_AXIS_MAX) - 1;
  desc.button_mask = (1u << SDL_CONTROLLER_BUTTON_MAX) - 1;
  desc.name = "zeb test pad";
  desc.Update = update;
  const int index = SDL_JoystickAttachVirtualEx(&desc);
  // The pad's own handle, so that its buttons can be set; zeb opens it as
  // a game controller of its own.
  if (index >= 0) pad = SDL_JoystickOpen(index);
  if (!pad) std::fprintf(stderr, "virtual pad: %s\n", SDL_GetError());
  std::signal(SIGUSR1, on_signal);
}

}  // namespace

extern "C" int SDL_InitSubSystem(Uint32 flags) {
  using Init = int (*)(Uint32);
  static const auto real = reinterpret_cast<Init>(dlsym(RTLD_NEXT, "SDL_InitSubSystem"));
  const int status = real ? real(flags) : -1;
  if (status == 0 && (flags & SDL_INIT_GAMECONTROLLER) && !pad) attach();
  return status;
}
