// Placeholder until the zoom modes land.
#include "view/geometry.h"
namespace zeb {
void compute_view_geometry(Viewer&) {}
DisplayedSize displayed_size(const Viewer& v) { return {v.window.page_width, v.window.page_height}; }
void clamp_scroll(Viewer&) {}
void set_start_position(Viewer&) {}
void finish_start_position(Viewer&) {}
void set_size_fields(Viewer&, int) {}
void sync_mode_radios(Viewer&) {}
void on_mode_combo_changed(Viewer&) {}
void on_mode_radio_clicked(Viewer&, int) {}
void on_auto_rotate_clicked(Viewer&) {}
void on_reduction_clicked(Viewer&) {}
}
