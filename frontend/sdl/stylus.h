#pragma once
// The stylus (mouse or touch) in the window: a press goes either to a
// control, which answers it the way the platform's controls do, or to the
// main window's stylus handlers, through the press capture both front ends
// share. The window adds its own gestures: a press beside an open drop-down
// closes it, lists also scroll by their scroll bar and by dragging, and
// report double-clicks. The second click of a double-click whose first
// click's choice refilled the list is the first click's: it chooses nothing.
#include "app/pointer.h"
#include "core/viewer.h"

namespace zeb::sdl {

class Stylus {
 public:
  // `clicks` counts the presses at one place within the platform's
  // double-click time: 1 for a single press, 2 for the second of a
  // double-click, and on (a third press counts 3).
  void down(Viewer& v, int px, int py, int clicks);
  void move(Viewer& v, int px, int py);
  void up(Viewer& v, int px, int py);
  bool held() const { return mode_ != Mode::none; }
  // Ends a press without a release, when a modal box takes the stylus.
  void cancel(Viewer& v);

 private:
  enum class Mode { none, window, control, scroll_bar, list_drag };
  void press_list(Viewer& v, platform::Control& list, int px, int py, int clicks);
  void swallow();

  Mode mode_ = Mode::none;
  Press press_;           // where the press is delivered
  int control_ = 0;       // the control that took the press
  int press_y_ = 0;       // where a list press started, pixels
  int press_top_ = 0;     // the list's top index then
  // The last press on a list, the first of a possible pair: its list (0
  // for none), its item and whether its choice refilled the list.
  int last_list_ = 0, last_item_ = -1;
  bool last_refilled_ = false;
};

}  // namespace zeb::sdl
