#pragma once
// The window's event loop: poll -> dispatch -> timer -> present. The message
// box and the pop-up menu run nested loops of the same kind, in which the
// 100 ms timer keeps ticking while they wait for their answer.
#include <SDL.h>

#include <cstdint>
#include <string>
#include <vector>

#include "app/gesture_stylus.h"
#include "core/viewer.h"
#include "frontend/sdl/modal_view.h"
#include "frontend/sdl/sdl_window.h"
#include "host/instance.h"

namespace zeb::sdl {

class Session {
 public:
  Session(Viewer& v, Window& window, platform::InstanceGuard* guard);
  ~Session();

  // Runs until the main window ends.
  void run();
  // Modal loops answering the viewer's questions.
  bool ask(const std::u16string& text, const std::u16string& caption);
  int choose(const std::vector<platform::MenuItem>& items);
  bool has_focus() const { return focus_; }

 private:
  enum class Modal { none, message_box, menu };

  // Waits for the next event or the next tick; ticks when one is due,
  // after the pads' events that came since the last tick were handed out.
  bool next_event(SDL_Event& e);
  // Reads every button change the pads queued since the last read, and
  // notices pads plugged in or out; false when no pad event came of it.
  bool read_pads();
  void tick();
  // Events every loop handles the same way; true when consumed.
  bool handle_window_event(const SDL_Event& e);
  void handle_input(const SDL_Event& e);
  // The stylus position of a mouse or touch event in screen pixels; false
  // for a point beside the screen.
  bool stylus_point(int wx, int wy);
  // Later starts' requests: raise now, open their paths once no box waits.
  void serve_later_starts();
  void open_handed_paths();
  // The close button or an end signal: ends as a confirmed exit does once
  // no box waits for an answer.
  void end_if_closed();
  void settle();
  void handle_key(int vk, bool down);
  void handle_text(const char* utf8);
  // Answers of the modal loops: -1 while undecided.
  int message_box_input(const SDL_Event& e);
  int menu_input(const SDL_Event& e);
  void follow_window_state();
  // Shows the screen (and the box or menu over it) when something was drawn
  // on it since it was last shown, or the window needs it again; never
  // while the window is minimised or hidden.
  void present_if_changed();
  void present();

  Viewer& v_;
  Window& window_;
  platform::InstanceGuard* guard_;
  GestureStylus stylus_;
  std::vector<SDL_GameController*> pads_;
  std::uint64_t next_tick_ms_ = 0;
  bool pads_read_ = false;  // for the tick that is due
  // SDL's wait blocks on the display connection; under drivers without
  // one (KMSDRM, offscreen) it would poll every millisecond.
  bool driver_waits_ = true;
  bool focus_ = true;
  bool minimised_ = false;
  // The window must show the screen again though nothing was drawn on it:
  // it was exposed, resized, moved or restored, or the box or menu changed.
  bool present_due_ = true;
  bool close_requested_ = false;
  int full_screen_requests_ = 0;  // the viewer's requests seen so far
  std::vector<std::string> handed_paths_;
  int last_x_ = 0, last_y_ = 0;  // last stylus position, screen pixels
  Modal modal_ = Modal::none;
  MessageBoxView box_;
  MenuView menu_;
  // A release chooses only after a press in the menu or a move over it, so
  // the release of the press that opened the menu leaves it open.
  bool menu_armed_ = false;
};

}  // namespace zeb::sdl
