#pragma once
// Fit and zoom modes: what size the page is shown at and which part of it is
// on screen.
#include <optional>

#include "core/viewer.h"

namespace zeb {

struct DisplayedSize {
  int w = 0, h = 0;
};

void compute_view_geometry(Viewer& v);
// Size of the shown bitmap times zoom and mode_scale.
DisplayedSize displayed_size(const Viewer& v);
// The scroll offsets cut down to what a displayed size leaves off screen.
void clamp_scroll_to(ViewerState& s, DisplayedSize d);
// clamp_scroll_to the displayed size of the shown bitmap.
void clamp_scroll(Viewer& v);
// Scroll offsets for a newly chosen start position before the clamp
// (30000 / 0 by r_top, u_top and the mirror signs) and the centring flags.
void set_start_position(ViewerState& s);
// Clamp followed by the halving for centred start positions.
void finish_start_position(Viewer& v);
// The settings a page's view depends on, as the geometry reads them now
// (the size fields' text included).
struct ViewSettings {
  int v_mode = 0, Text1 = 0, Text2 = 0, v_left = 0, RSC = 0, ZOOM_MODE = 0;
};
ViewSettings view_settings(const Viewer& v);
// What compute_view_geometry asks of the resampler for a W x H page with
// these settings; nullopt when the page bitmap is shown as it is.
std::optional<ViewRequest> view_request_for(const ViewSettings& s, int W, int H);

// The arithmetic behind the above, free of the viewer.

// Float to int by truncation toward zero; values beyond the int range
// saturate and NaN gives 0, so absurd sizes typed into the size fields can
// never make the conversion undefined.
int truncate_to_int(float value);

// What a zoom mode asks of the resampler for a W x H page.
struct ViewPlan {
  bool resample = false;
  int target_w = 0, target_h = 0, rotate = 0;
  float mode_scale = 1.0f;  // enlargement left to drawing
  char16_t label = 0;       // digit shown in the mode indicator; 0 for an unknown mode
};
// Text2 is not used by modes 5 and 6 (both fit one side to Text1).
ViewPlan plan_view(int mode, int W, int H, int Text1, int Text2, int v_left, int RSC);

struct FitScales {
  float fill_scale = 1.0f;  // zoom at which the bitmap covers the screen
  float fit_scale = 1.0f;   // zoom at which it fits inside the screen
};
// For a shown bitmap of Ws x Hs pixels (both positive).
FitScales fit_scales(int Ws, int Hs);

// Wb x Hb scaled by zoom, then by mode_scale, truncated.
DisplayedSize scaled_size(int Wb, int Hb, float zoom, float mode_scale);
// A scroll offset cut down to what a displayed side leaves off screen.
int clamp_offset(int offset, int displayed, int screen);

}  // namespace zeb
