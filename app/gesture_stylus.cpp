#include "app/gesture_stylus.h"

#include "app/control_input.h"

namespace zeb {

void GestureStylus::down(Viewer& v, int px, int py, int clicks) {
  press_ = begin_press(v, px, py);
  const platform::StylusGestures::Step step = gestures_.down(v.dialog, press_.control, px, py, clicks);
  if (step.redraw) v.repaint();
  if (!step.deliver) {
    press_.to = Press::To::nothing;
    return;
  }
  press(v, press_, px, py);
  apply_outcome(v, gestures_.after_press(v.dialog, px, py));
}

void GestureStylus::move(Viewer& v, int px, int py) {
  const platform::StylusGestures::Step step = gestures_.move(v.dialog, px, py);
  if (step.redraw) v.repaint();
  if (step.deliver) drag(v, press_, px, py);
}

void GestureStylus::up(Viewer& v, int px, int py) {
  const Press pressed = press_;
  gestures_.up();
  press_ = {};
  release(v, pressed, px, py);
}

void GestureStylus::cancel(Viewer& v) {
  if (!gestures_.held()) return;
  const platform::StylusGestures::Point at = gestures_.cancel_point(v.dialog);
  up(v, at.x, at.y);
}

}  // namespace zeb
