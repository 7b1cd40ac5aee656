#pragma once
// Fit and zoom modes: what size the page is shown at and which part of it is
// on screen; the settings controls of the zoom modes.
#include "app/viewer.h"

namespace zeb {

struct DisplayedSize {
  int w = 0, h = 0;
};

void compute_view_geometry(Viewer& v);
// Size of the shown bitmap times zoom and mode_scale.
DisplayedSize displayed_size(const Viewer& v);
void clamp_scroll(Viewer& v);
// Scroll offsets for a newly chosen start position before the clamp
// (30000 / 0 by r_top, u_top and the mirror signs) and the centring flags.
void set_start_position(Viewer& v);
// Clamp followed by the halving for centred start positions.
void finish_start_position(Viewer& v);
void set_size_fields(Viewer& v, int mode);
void sync_mode_radios(Viewer& v);

// Control handlers.
void on_mode_combo_changed(Viewer& v);
void on_mode_radio_clicked(Viewer& v, int mode);
void on_auto_rotate_clicked(Viewer& v);
void on_reduction_clicked(Viewer& v);

}  // namespace zeb
