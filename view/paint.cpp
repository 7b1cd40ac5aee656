// The main window's paint: the start-position picker after a tap, the
// browser's white page area with the page thumbnail, or the page view: the
// shown bitmap stretched by zoom x mode_scale in one copy, mirrored through
// negative extents, centred on black margins.
#include "view/paint.h"

#include <algorithm>

#include "core/codes.h"
#include "core/control_ids.h"
#include "view/geometry.h"

namespace zeb {
namespace {

using platform::Bitmap;
using platform::Rect;

constexpr int s = screen_scale;
constexpr platform::ColorRef kBlack = 0;

constexpr int kThumbSide = 106;  // longest side of the preview inside the box

// Picker cells: 20 x 20 pixels in the picker pictures, s times that on screen.
constexpr int kCell = 20;

float f(int value) { return static_cast<float>(value); }

// Whether the picker cell at (column, row) shows its selected look.
bool picker_cell_selected(const ViewerState& st, int column, int row) {
  // Columns of the nine start positions: left, centre, right; rows: top,
  // centre, bottom.
  constexpr int kHorizontal[3] = {0, 2, 1};
  constexpr int kVertical[3] = {0, 2, 1};
  if (row < 3) return st.r_top == kHorizontal[column] && st.u_top == kVertical[row];
  if (row == 3) {
    if (column == 0) return true;
    return column == 1 ? st.ud_mir == -1 : st.ud_lop == 1;
  }
  if (column == 0) return st.v_left == 1;
  return column == 1 ? st.lr_mir == -1 : st.lr_lop == 1;
}

void paint_picker(Viewer& v, Bitmap& screen) {
  const platform::Control* picker = v.dialog.find(ctl::picker);
  v.state.picker_redraw_ticks = 0;
  if (!picker || !picker->visible) return;
  for (int row = 0; row < 5; ++row) {
    for (int column = 0; column < 3; ++column) {
      const bool on = picker_cell_selected(v.state, column, row);
      const Bitmap* look = on ? v.window.picker_on_bitmap.get() : v.window.picker_off_bitmap.get();
      if (!look) continue;
      platform::stretch_copy(screen, picker->rect.x + s * kCell * column, picker->rect.y + s * kCell * row, s * kCell,
                             s * kCell, *look, kCell * column, kCell * row, kCell, kCell);
    }
  }
}

void paint_browser(const Viewer& v, Bitmap& screen) {
  platform::fill_rect(screen, Rect{0, 0, screen_w, screen_h}, v.state.bg_color);
  const MainWindow& w = v.window;
  if (!w.page_bitmap || v.state.settings_open == 1) return;
  const int W = w.page_width, H = w.page_height;
  if (W <= 0 || H <= 0) return;
  const float ax = f(kThumbSide) / f(W);
  const float ay = f(kThumbSide) / f(H);
  int dw = kThumbSide, dh = kThumbSide, ox = 0, oy = 0;
  if (ax < ay) {
    dh = truncate_to_int(f(H) * ax);
    oy = truncate_to_int(f(kThumbSide - dh) * 0.5f);
  } else {
    dw = truncate_to_int(f(W) * ay);
    ox = truncate_to_int(f(kThumbSide - dw) * 0.5f);
  }
  platform::fill_rect(screen, Rect{s * kThumbX, s * kThumbY, s * kThumbBox, s * kThumbBox}, kBlack);
  platform::stretch_copy(screen, s * (kThumbX + ox), s * (kThumbY + oy), s * dw, s * dh, *w.page_bitmap, 0, 0, W, H);
}

// Black strips beside and above/below a page smaller than the screen;
// returns the page's top-left corner on screen.
Rect paint_margins(Bitmap& screen, DisplayedSize d) {
  Rect page{0, 0, d.w, d.h};
  if (d.w < screen_w) {
    page.x = (screen_w - d.w) / 2;
    platform::fill_rect(screen, Rect{0, 0, page.x, screen_h}, kBlack);
    platform::fill_rect(screen, Rect{page.x + d.w, 0, screen_w - page.x - d.w, screen_h}, kBlack);
  }
  if (d.h < screen_h) {
    page.y = (screen_h - d.h) / 2;
    platform::fill_rect(screen, Rect{0, 0, screen_w, page.y}, kBlack);
    platform::fill_rect(screen, Rect{0, page.y + d.h, screen_w, screen_h - page.y - d.h}, kBlack);
  }
  return page;
}

void paint_page(Viewer& v, Bitmap& screen) {
  ViewerState& st = v.state;
  const MainWindow& w = v.window;
  const bool view = st.v_mode != ZoomMode::normal || st.v_left == 1 || st.auto_rotated == 1;
  const Bitmap* shown = view ? w.view_bitmap.get() : w.page_bitmap.get();
  if (!shown) return;
  const DisplayedSize d = displayed_size(v);
  clamp_scroll(v);
  const Rect page = paint_margins(screen, d);
  // One screen's worth of the bitmap at the current scale; the copy covers
  // the whole screen and draws nothing where the source lies off the bitmap.
  const float k = 1.0f / (st.zoom * st.mode_scale);
  const int dx = page.x + (st.lr_mir == -1 ? std::min(d.w, screen_w) : 0);
  const int dy = page.y + (st.ud_mir == -1 ? std::min(d.h, screen_h) : 0);
  platform::stretch_copy(screen, dx, dy, st.lr_mir * screen_w, st.ud_mir * screen_h, *shown,
                         truncate_to_int(f(st.scroll_x) * k), truncate_to_int(f(st.scroll_y) * k),
                         truncate_to_int(f(s) * k * f(layout_w)), truncate_to_int(f(s) * k * f(layout_h)));
}

}  // namespace

void paint(Viewer& v) {
  Bitmap* screen = v.platform.screen.get();
  if (!screen) return;
  if (v.state.picker_redraw_ticks >= 3) {
    paint_picker(v, *screen);
  } else if (v.state.viewing == 0) {
    paint_browser(v, *screen);
  } else {
    paint_page(v, *screen);
  }
}

}  // namespace zeb
