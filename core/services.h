#pragma once
// Services that a front end provides to the viewer: modal boxes and menus,
// the foreground test, held keys, the window's placement, the screen, and the
// request flags (repaint, end) that the front end's loop serves.
#include <array>
#include <deque>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "host/files.h"
#include "host/random.h"
#include "widgets/bitmap.h"
#include "widgets/dialog_look.h"

namespace zeb::platform {

constexpr int kScreenWidth = 480;   // pixels
constexpr int kScreenHeight = 640;  // pixels

struct MenuItem {
  int id = 0;
  std::u16string text;
  bool checked = false;
};

// Answered by the front end (script answers or a modal loop in the window).
class Host {
 public:
  virtual ~Host() = default;
  // Yes/No box; true for Yes.
  virtual bool message_box(const std::u16string& text, const std::u16string& caption) = 0;
  // Pop-up menu; the chosen item's id, or 0 when dismissed.
  virtual int track_popup_menu(const std::vector<MenuItem>& items) = 0;
  // Whether the platform reports a foreground window.
  virtual bool foreground_window_exists() = 0;
};

// Held state of virtual keys and of the stylus button, as the front end saw it.
class KeyState {
 public:
  void set(int vk, bool down) {
    if (vk >= 0 && vk < 256) held_[vk] = down;
  }
  // Asynchronous key state: top bit set while held.
  short async_state(int vk) const { return (vk >= 0 && vk < 256 && held_[vk]) ? static_cast<short>(0x8000) : 0; }
  void set_stylus(bool down) { stylus_down_ = down; }
  bool stylus_down() const { return stylus_down_; }

 private:
  std::array<bool, 256> held_{};
  bool stylus_down_ = false;
};

enum class ZOrder { keep, topmost, not_topmost, top };

// The main window's placement as the viewer last set it.
struct WindowPlacement {
  int x = 0, y = 0, w = kScreenWidth, h = kScreenHeight;
  bool topmost = false;
  bool minimized = false;
  bool shown = true;
  std::u16string title;
  // Counts the viewer's requests to make the window cover the screen again
  // (start-up, "full screen again", the restore after a minimise): a front
  // end returns its window to the mode and size the reader chose.
  int full_screen_requests = 0;

  void set_pos(int nx, int ny, int nw, int nh, ZOrder order) {
    x = nx;
    y = ny;
    w = nw;
    h = nh;
    if (order == ZOrder::topmost) topmost = true;
    if (order == ZOrder::not_topmost) topmost = false;
  }
};

// Everything the viewer asks of the platform, owned by the front end's run.
struct Platform {
  Host* host = nullptr;
  Storage storage;
  std::string app_dir_host;  // resolved app_dir (host path)
  KeyState keys;
  Random random;
  WindowPlacement window;
  std::unique_ptr<Bitmap> screen = Bitmap::create(kScreenWidth, kScreenHeight);
  bool paint_requested = false;  // the window was invalidated
  // Set whenever the paint or a control's redraw has drawn on the screen;
  // a front end that shows the screen takes it (shows the screen only when
  // it is set) and clears it. A new screen has not been shown yet.
  bool screen_changed = true;
  bool ended = false;            // the main window was ended
  bool game_input_open = false;  // the hardware-key source is claimed
  bool read_ahead = true;        // decode the next page while the reader reads
  // Keep the page just left for a turn back and a reload; make the view
  // while the page is decoded. Off, every load decodes and then resamples.
  bool keep_pages = true;
  bool view_while_decoding = true;
  // How the controls looked when they were last drawn on the screen.
  DialogLook drawn_look;
  // Synthetic key presses (virtual-key codes) waiting to be delivered as a
  // key down and a key up to the focused control.
  std::deque<int> injected_keys;

  void invalidate() { paint_requested = true; }
  // True once after every drawing on the screen: the caller shows it now.
  bool take_screen_changed() { return std::exchange(screen_changed, false); }
  void end_main_window() { ended = true; }
  void inject_key_press(int vk) { injected_keys.push_back(vk); }
};

}  // namespace zeb::platform
