// Placeholder until the timer lands.
#include "view/timer.h"
namespace zeb {
void on_timer(Viewer&) {}
void default_action(Viewer&) {}
void on_slide_show_clicked(Viewer&) {}
void on_random_clicked(Viewer&) {}
void on_smooth_clicked(Viewer&) {}
}
