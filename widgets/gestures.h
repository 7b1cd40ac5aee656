#pragma once
// The stylus gestures of a window, over what the controls answer by
// themselves: a press beside an open drop-down only closes it; a list also
// scrolls by its scroll bar and by dragging its items, and reports
// double-clicks. The second click of a double-click whose first click's
// choice refilled the list is the first click's: it chooses nothing.
//
// The gestures decide what becomes of each stylus event; the owner hands
// the events they pass on to the press's target (a control, or the window
// beneath) and routes what comes back.
#include "widgets/control_input.h"
#include "widgets/dialog.h"

namespace zeb::platform {

// Pixels a list press moves up or down before the items follow the stylus.
constexpr int kDragThreshold = 12;

class StylusGestures {
 public:
  struct Step {
    bool deliver = false;  // hand the event on to the press's target
    bool redraw = false;   // a list scrolled or the drop-downs closed
  };
  struct Point {
    int x = 0, y = 0;
  };

  // A press on control `target` (0: the window beneath). `clicks` counts
  // the presses at one place within the double-click time: 1 for a single
  // press, 2 for the second of a double-click, and on (a third counts 3).
  Step down(Dialog& d, int target, int px, int py, int clicks);
  // Once a press that down() passed on was delivered: the double-click of a
  // list, or the caret of an edit placed under the stylus. Also called when
  // the press was cancelled while it was delivered.
  Outcome after_press(Dialog& d, int px, int py);
  Step move(Dialog& d, int px, int py);
  // The release ends the gesture; it is always delivered.
  void up();
  bool held() const { return mode_ != Mode::none; }
  // Where a press ended without a release is taken to end: just above and
  // left of its control (outside it, so that nothing clicks), else the
  // corner.
  Point cancel_point(const Dialog& d) const;

 private:
  enum class Mode { none, window, control, scroll_bar, list_drag };
  Step press_list(Dialog& d, Control& list, int px, int py, int clicks);
  void swallow();

  Mode mode_ = Mode::none;
  int control_ = 0;    // the control that took the press
  int press_y_ = 0;    // where a list press started, pixels
  int press_top_ = 0;  // the list's top index then
  // A delivered press waiting for after_press: its list (0 for none) with
  // the item under the stylus, the list's refill count and whether it
  // completes a pair; or its edit (0 for none).
  int pending_list_ = 0, pending_item_ = -1;
  unsigned pending_refills_ = 0;
  bool pending_second_ = false;
  int pending_edit_ = 0;
  // The last press on a list, the first of a possible pair: its list (0
  // for none), its item and whether its choice refilled the list.
  int last_list_ = 0, last_item_ = -1;
  bool last_refilled_ = false;
};

}  // namespace zeb::platform
