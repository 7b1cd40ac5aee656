#pragma once
// The message routing of the main window: what a front end calls for each
// input, notification and tick. Both front ends go through these functions,
// so a script run exercises the same paths as the window.
#include "app/menus.h"
#include "app/routing.h"
#include "core/viewer.h"

namespace zeb {

// Stylus messages on the window (the front end decides whether a press
// belongs to a control instead: see stylus_target).
void stylus_down(Viewer& v, int px, int py);
void stylus_up(Viewer& v, int px, int py);
void stylus_move(Viewer& v, int px, int py);
// The control a press at (px, py) goes to, or 0 for the window itself.
int stylus_target(const Viewer& v, int px, int py);

// Key messages: pre-translation, then dispatch to the focused control.
void key_down(Viewer& v, int vk);
void key_up(Viewer& v, int vk);
// Typed text for the focused control.
void type_text(Viewer& v, const std::u16string& text);

// One tick of the 100 ms timer: the tick's steps, the paints they asked
// for, then the settle save's count.
void timer_tick(Viewer& v);
// Paints when a repaint was requested; delivers injected key presses first.
void pump(Viewer& v);

}  // namespace zeb
