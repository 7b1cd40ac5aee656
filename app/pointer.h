#pragma once
// Stylus presses and key presses as both front ends deliver them, from the
// message on: where a press goes is chosen once, at the press, and its moves
// and release follow it there; Enter and Escape are the window's OK and
// Cancel.
#include "core/viewer.h"

namespace zeb {

// Where a stylus press went: nowhere (a gesture the front end handled
// itself), the window's own handlers, or the control that captured it.
struct Press {
  enum class To { nothing, window, control };
  To to = To::nothing;
  int control = 0;
};

// Marks the stylus held and chooses the target under (px, py): the control
// there, else the window.
Press begin_press(Viewer& v, int px, int py);
// The press, a move and the release, delivered to the target chosen at the
// press. The release also marks the stylus no longer held.
void press(Viewer& v, const Press& p, int px, int py);
void drag(Viewer& v, const Press& p, int px, int py);
void release(Viewer& v, const Press& p, int px, int py);

// A key pressed: held, its key-down message, then Enter and Escape as the
// window's OK and Cancel commands (unless the window has ended).
void key_press(Viewer& v, int vk);
// A key released: no longer held, its key-up message.
void key_release(Viewer& v, int vk);

}  // namespace zeb
