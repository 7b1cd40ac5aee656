#pragma once
// The 100 ms tick: requested actions, drag, held zoom, delayed jump, smooth
// scrolling with wrap-around, slide show, repaint requests.
#include "app/viewer.h"

namespace zeb {
void on_timer(Viewer& v);
// The default action (key request 8, the slide show).
void default_action(Viewer& v);
void on_slide_show_clicked(Viewer& v);
void on_random_clicked(Viewer& v);
void on_smooth_clicked(Viewer& v);
}  // namespace zeb
