// Fit and zoom modes. The arithmetic is single precision, evaluated in the
// order written, and truncates toward zero: page sizes are a function of the
// page and the settings alone, and the tests pin them.
#include "view/geometry.h"

#include <climits>
#include <cmath>

#include "core/codes.h"
#include "core/control_ids.h"
#include "host/text.h"
#include "view/resample.h"

namespace zeb {
namespace {

float f(int value) { return static_cast<float>(value); }

ViewPlan call(int target_w, int target_h, int rotate, float mode_scale, char16_t label) {
  return ViewPlan{true, target_w, target_h, rotate, mode_scale, label};
}

// The page's width is fitted to T; an enlargement is left to drawing.
ViewPlan fit_width(int T, int W, int H, int v_left) {
  float mode_scale = 1.0f;
  int Hn = truncate_to_int(f(T) / f(W) * f(H));
  if (Hn >= H) {
    mode_scale = f(Hn) / f(H);
    Hn = H;
    T = W;
  }
  if (v_left != 0) return call(Hn, T, v_left, mode_scale, u'2');
  return call(T, Hn, 0, mode_scale, u'2');
}

// The page's height is fitted to T; an enlargement is left to drawing.
ViewPlan fit_height(int T, int W, int H, int v_left) {
  float mode_scale = 1.0f;
  int Wn = truncate_to_int(f(T) / f(H) * f(W));
  if (Wn >= W) {
    mode_scale = f(Wn) / f(W);
    Wn = W;
    T = H;
  }
  if (v_left != 0) return call(T, Wn, v_left, mode_scale, u'1');
  return call(Wn, T, 0, mode_scale, u'1');
}

// The page fits inside Text1 x Text2; an enlargement is left to drawing.
ViewPlan fit_inside(int Text1, int Text2, int W, int H, int v_left) {
  const float kx = f(Text1) / f(W);
  const float ky = f(Text2) / f(H);
  float k = kx < ky ? kx : ky;
  float mode_scale = 1.0f;
  if (k > 1.0f) {
    mode_scale = k;
    k = 1.0f;
  }
  if (v_left != 0) return call(truncate_to_int(f(H) * k), truncate_to_int(f(W) * k), v_left, mode_scale, u'4');
  return call(truncate_to_int(f(W) * k), truncate_to_int(f(H) * k), 0, mode_scale, u'4');
}

// The page fits the screen by resampling, landscape pages turned.
ViewPlan fit_screen(int W, int H) {
  const int r = truncate_to_int(f(H) / f(W));
  if (r < 1) {
    const float kx = f(screen_w) / f(H);
    const float ky = f(screen_h) / f(W);
    const float k = kx < ky ? kx : ky;
    return call(truncate_to_int(f(H) * k), truncate_to_int(f(W) * k), 1, 1.0f, u'5');
  }
  const float kx = f(screen_w) / f(W);
  const float ky = f(screen_h) / f(H);
  const float k = kx < ky ? kx : ky;
  return call(truncate_to_int(f(W) * k), truncate_to_int(f(H) * k), 0, 1.0f, u'5');
}

void read_size_fields(Viewer& v) {
  v.state.Text1 = text::parse_int(v.dialog.text(ctl::size_x));
  v.state.Text2 = text::parse_int(v.dialog.text(ctl::size_y));
  v.state.MAX_SP = text::parse_int(v.dialog.text(ctl::speed_field));
}

}  // namespace

int truncate_to_int(float value) {
  if (std::isnan(value)) return 0;
  if (value >= 2147483648.0f) return INT_MAX;
  if (value <= -2147483648.0f) return INT_MIN;
  return static_cast<int>(value);
}

ViewPlan plan_view(int mode, int W, int H, int Text1, int Text2, int v_left, int RSC) {
  if (mode == ZoomMode::normal) {
    if (v_left == 1) return call(H, W, 1, 1.0f, u'3');
    if (RSC == 1) return call(W, H, 0, 1.0f, u'3');
    return ViewPlan{false, 0, 0, 0, 1.0f, u'0'};
  }
  if (mode < ZoomMode::fit_width || mode > ZoomMode::fit_shorter) return ViewPlan{};
  // The longer side, or the shorter; a square page is fitted by width when
  // the longer side is asked for and by height for the shorter.
  const bool by_height = mode == ZoomMode::fit_height || (mode == ZoomMode::fit_longer && W < H) ||
                         (mode == ZoomMode::fit_shorter && !(W < H));
  if (W <= 0 || H <= 0) {
    const char16_t labels[ZoomMode::count] = {0, u'2', u'1', u'4', u'5', 0, 0};
    return ViewPlan{false, 0, 0, 0, 1.0f, mode >= ZoomMode::fit_longer ? (by_height ? u'1' : u'2') : labels[mode]};
  }
  if (mode == ZoomMode::fit_box) return fit_inside(Text1, Text2, W, H, v_left);
  if (mode == ZoomMode::fit_screen) return fit_screen(W, H);
  if (by_height) return fit_height(mode == ZoomMode::fit_height ? Text2 : Text1, W, H, v_left);
  return fit_width(Text1, W, H, v_left);
}

FitScales fit_scales(int Ws, int Hs) {
  const float fx = f(screen_scale) * f(layout_w) / f(Ws);
  const float fy = f(screen_scale) * f(layout_h) / f(Hs);
  if (fx > fy) return FitScales{fx, fy};
  return FitScales{fy, fx};
}

DisplayedSize scaled_size(int Wb, int Hb, float zoom, float mode_scale) {
  return DisplayedSize{truncate_to_int(f(Wb) * zoom * mode_scale), truncate_to_int(f(Hb) * zoom * mode_scale)};
}

int clamp_offset(int offset, int displayed, int screen) {
  if (displayed <= screen) return 0;
  return offset > displayed - screen ? displayed - screen : offset;
}

void compute_view_geometry(Viewer& v) {
  ViewerState& s = v.state;
  MainWindow& w = v.window;
  s.mode_scale = 1.0f;
  s.fill_scale = 1.0f;
  s.auto_rotated = 0;
  read_size_fields(v);
  if (s.v_mode == ZoomMode::fit_longer || s.v_mode == ZoomMode::fit_shorter) s.Text2 = s.Text1;
  const ViewPlan plan = plan_view(s.v_mode, w.page_width, w.page_height, s.Text1, s.Text2, s.v_left, s.RSC);
  int Ws = w.page_width, Hs = w.page_height;
  if (plan.resample) {
    resample_page(v, plan.target_w, plan.target_h, plan.rotate);
    if (w.page_bitmap) {
      Ws = w.view_width;
      Hs = w.view_height;
    }
  }
  s.mode_scale = plan.mode_scale;
  // A bitmap with a zero side is never drawn; its scales stay neutral.
  const FitScales scales = Ws > 0 && Hs > 0 ? fit_scales(Ws, Hs) : FitScales{};
  s.fill_scale = scales.fill_scale;
  s.fit_scale = scales.fit_scale;
  if (plan.label != 0) s.mode_label = std::u16string(1, plan.label);
  v.dialog.set_text(ctl::mode_indicator, s.mode_label);
}

DisplayedSize displayed_size(const Viewer& v) {
  const ViewerState& s = v.state;
  const MainWindow& w = v.window;
  const bool view = s.v_mode != ZoomMode::normal || s.v_left == 1 || s.auto_rotated == 1;
  return scaled_size(view ? w.view_width : w.page_width, view ? w.view_height : w.page_height, s.zoom,
                     s.mode_scale);
}

void clamp_scroll_to(ViewerState& s, DisplayedSize d) {
  s.scroll_x = clamp_offset(s.scroll_x, d.w, screen_w);
  s.scroll_y = clamp_offset(s.scroll_y, d.h, screen_h);
}

void clamp_scroll(Viewer& v) { clamp_scroll_to(v.state, displayed_size(v)); }

void set_start_position(ViewerState& s) {
  s.center_x_pending = s.r_top == 2 ? 1 : 0;
  s.center_y_pending = s.u_top == 2 ? 1 : 0;
  s.scroll_x = s.r_top >= 1 ? kFarEnd : 0;
  s.scroll_y = s.u_top >= 1 ? kFarEnd : 0;
  // A mirrored page starts from the other end.
  if (s.lr_mir == -1) s.scroll_x = s.scroll_x == 0 ? kFarEnd : 0;
  if (s.ud_mir == -1) s.scroll_y = s.scroll_y == 0 ? kFarEnd : 0;
}

void finish_start_position(Viewer& v) {
  ViewerState& s = v.state;
  clamp_scroll(v);
  // Halving the clamped far end centres the page.
  if (s.center_y_pending == 1) {
    s.center_y_pending = 0;
    s.scroll_y /= 2;
  }
  if (s.center_x_pending == 1) {
    s.center_x_pending = 0;
    s.scroll_x /= 2;
  }
}

ViewSettings view_settings(const Viewer& v) {
  const ViewerState& s = v.state;
  ViewSettings settings{s.v_mode,
                        text::parse_int(v.dialog.text(ctl::size_x)),
                        text::parse_int(v.dialog.text(ctl::size_y)),
                        s.v_left,
                        s.RSC,
                        s.ZOOM_MODE};
  if (s.v_mode == ZoomMode::fit_longer || s.v_mode == ZoomMode::fit_shorter) settings.Text2 = settings.Text1;
  return settings;
}

std::optional<ViewRequest> view_request_for(const ViewSettings& s, int W, int H) {
  const ViewPlan plan = plan_view(s.v_mode, W, H, s.Text1, s.Text2, s.v_left, s.RSC);
  if (!plan.resample) return std::nullopt;
  return ViewRequest{W, H, plan.target_w, plan.target_h, plan.rotate, s.RSC, s.ZOOM_MODE};
}

}  // namespace zeb
