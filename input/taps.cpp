// Placeholder until tap input lands.
#include "input/taps.h"
namespace zeb {
void on_stylus_down(Viewer&, int, int) {}
void on_stylus_up(Viewer&, int, int) {}
void on_stylus_move(Viewer&, int, int) {}
void on_swap_tap_clicked(Viewer&) {}
void toggle_view_panel(Viewer&) {}
}
