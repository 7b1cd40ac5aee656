#pragma once
// The window's stylus (mouse or touch): a press goes either to a control,
// which answers it the way the platform's controls do, or to the main
// window's stylus handlers, through the press capture both front ends
// share; on top of that the window's gestures (widgets/gestures.h) close
// drop-downs, scroll lists by their bar and by dragging, and tell
// double-clicks.
#include "app/pointer.h"
#include "core/viewer.h"
#include "widgets/gestures.h"

namespace zeb {

class GestureStylus {
 public:
  // `clicks` counts the presses at one place within the platform's
  // double-click time: 1 for a single press, 2 for the second of a
  // double-click, and on (a third press counts 3).
  void down(Viewer& v, int px, int py, int clicks);
  void move(Viewer& v, int px, int py);
  void up(Viewer& v, int px, int py);
  bool held() const { return gestures_.held(); }
  // Ends a press without a release, when a modal box takes the stylus.
  void cancel(Viewer& v);

 private:
  platform::StylusGestures gestures_;
  Press press_;  // where the press is delivered
};

}  // namespace zeb
