// Zoom modes, fill and fit scales, the scroll clamp and start positions, and
// the settings controls of the zoom modes.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>

#include "app/controls.h"
#include "app/settings_handlers.h"
#include "core/control_ids.h"
#include "core/services.h"
#include "settings/zoom_fields.h"
#include "view/geometry.h"

namespace zeb {
namespace {

void expect_call(const ViewPlan& p, int tw, int th, int rotate, float mode_scale, char16_t label) {
  EXPECT_TRUE(p.resample);
  EXPECT_EQ(p.target_w, tw);
  EXPECT_EQ(p.target_h, th);
  EXPECT_EQ(p.rotate, rotate);
  EXPECT_FLOAT_EQ(p.mode_scale, mode_scale);
  EXPECT_EQ(p.label, label);
}

TEST(Geometry, width_and_height_modes_leave_enlargement_to_drawing) {
  expect_call(plan_view(1, 1200, 1600, 240, 320, 0, 0), 240, 320, 0, 1.0f, u'2');
  expect_call(plan_view(1, 1200, 1600, 2400, 320, 0, 0), 1200, 1600, 0, 2.0f, u'2');
  // With the quarter turn the page is scaled first, then turned.
  expect_call(plan_view(1, 1200, 1600, 240, 320, 1, 0), 320, 240, 1, 1.0f, u'2');
  // A computed width equal to the page's counts as enlargement.
  expect_call(plan_view(2, 1200, 1600, 0, 1600, 0, 0), 1200, 1600, 0, 1.0f, u'1');
  expect_call(plan_view(2, 1200, 1600, 0, 800, 0, 0), 600, 800, 0, 1.0f, u'1');
  expect_call(plan_view(3, 800, 600, 240, 320, 0, 0), 240, 180, 0, 1.0f, u'4');
  expect_call(plan_view(3, 100, 50, 240, 320, 0, 0), 100, 50, 0, 2.4f, u'4');
  expect_call(plan_view(3, 800, 600, 240, 320, 1, 0), 180, 240, 1, 1.0f, u'4');
}

TEST(Geometry, longer_and_shorter_side_modes_pick_the_fitted_side) {
  // Mode 5 fits the longer side, mode 6 the shorter one.
  expect_call(plan_view(5, 1200, 1600, 400, 0, 0, 0), 300, 400, 0, 1.0f, u'1');
  expect_call(plan_view(6, 1200, 1600, 400, 0, 0, 0), 400, 533, 0, 1.0f, u'2');
  // A square page: mode 5 by width, mode 6 by height, at the same scale.
  expect_call(plan_view(5, 1000, 1000, 400, 0, 0, 0), 400, 400, 0, 1.0f, u'2');
  expect_call(plan_view(6, 1000, 1000, 400, 0, 0, 0), 400, 400, 0, 1.0f, u'1');
}

TEST(Geometry, screen_mode_turns_landscape_pages_and_ignores_v_left) {
  expect_call(plan_view(4, 600, 800, 0, 0, 1, 0), 480, 640, 0, 1.0f, u'5');
  expect_call(plan_view(4, 800, 600, 0, 0, 0, 0), 480, 640, 1, 1.0f, u'5');
  expect_call(plan_view(4, 600, 600, 0, 0, 0, 0), 480, 480, 0, 1.0f, u'5');
  expect_call(plan_view(4, 200, 100, 0, 0, 0, 0), 320, 640, 1, 1.0f, u'5');
}

TEST(Geometry, plain_mode_resamples_only_to_turn) {
  const ViewPlan plain = plan_view(0, 1200, 1600, 240, 320, 0, 0);
  EXPECT_FALSE(plain.resample);
  EXPECT_EQ(plain.label, u'0');
  expect_call(plan_view(0, 1200, 1600, 240, 320, 1, 0), 1600, 1200, 1, 1.0f, u'3');
  expect_call(plan_view(0, 1200, 1600, 240, 320, 0, 1), 1200, 1600, 0, 1.0f, u'3');
  EXPECT_FALSE(plan_view(9, 1200, 1600, 240, 320, 0, 0).resample);
}

TEST(Geometry, fill_and_fit_scales_and_displayed_size) {
  FitScales f = fit_scales(240, 320);
  EXPECT_FLOAT_EQ(f.fill_scale, 2.0f);
  EXPECT_FLOAT_EQ(f.fit_scale, 2.0f);
  f = fit_scales(480, 480);
  EXPECT_FLOAT_EQ(f.fill_scale, 640.0f / 480.0f);
  EXPECT_FLOAT_EQ(f.fit_scale, 1.0f);
  const DisplayedSize d = scaled_size(1200, 333, 0.7f, 1.3f);
  EXPECT_EQ(d.h, 303);  // 333 x 0.7 x 1.3 = 303.03
  // Absurd sizes saturate instead of overflowing.
  EXPECT_EQ(truncate_to_int(3e9f), INT_MAX);
  EXPECT_EQ(truncate_to_int(-3e9f), INT_MIN);
  EXPECT_EQ(truncate_to_int(std::nanf("")), 0);
  EXPECT_EQ(truncate_to_int(-2.7f), -2);
}

struct GeometryViewer : testing::Test {
  platform::Platform p;
  Viewer v{p};
  void SetUp() override { create_controls(v); }
  void page(int w, int h) {
    v.window.page_bitmap = platform::Bitmap::create(w, h);
    v.window.page_width = w;
    v.window.page_height = h;
  }
};

TEST_F(GeometryViewer, compute_reads_the_fields_and_sizes_the_view_bitmap) {
  page(1200, 1600);
  v.dialog.set_text(ctl::size_x, u"240");
  v.dialog.set_text(ctl::size_y, u"999");
  v.dialog.set_text(ctl::speed_field, u"12x");
  v.state.v_mode = 5;
  compute_view_geometry(v);
  EXPECT_EQ(v.state.Text1, 240);
  EXPECT_EQ(v.state.Text2, 240);  // modes 5 and 6 use one size
  EXPECT_EQ(v.state.MAX_SP, 12);
  EXPECT_EQ(v.window.view_width, 176);  // 180 rounded down to a multiple of 8
  EXPECT_EQ(v.window.view_height, 240);
  EXPECT_EQ(v.dialog.text(ctl::mode_indicator), u"1");
  EXPECT_FLOAT_EQ(v.state.fill_scale, 480.0f / 176.0f);
  EXPECT_FLOAT_EQ(v.state.fit_scale, 640.0f / 240.0f);

  v.state.v_mode = 1;
  v.dialog.set_text(ctl::size_x, u"2400");
  compute_view_geometry(v);
  EXPECT_FLOAT_EQ(v.state.mode_scale, 2.0f);
  const DisplayedSize d = displayed_size(v);
  EXPECT_EQ(d.w, 2400);
  EXPECT_EQ(d.h, 3200);
}

TEST_F(GeometryViewer, auto_rotate_in_screen_mode) {
  v.state.v_mode = 4;
  v.state.RSC = 1;
  // The turn asked for a landscape page is dropped: shown unturned.
  page(800, 600);
  compute_view_geometry(v);
  EXPECT_EQ(v.window.view_width, 640);
  EXPECT_EQ(v.window.view_height, 480);
  EXPECT_EQ(v.state.auto_rotated, 0);
  // A square page is turned by RSC although no turn is asked for.
  page(600, 600);
  compute_view_geometry(v);
  EXPECT_EQ(v.state.auto_rotated, 1);
  EXPECT_EQ(v.window.view_width, 480);
  // Without a page nothing is sized and the scales stay neutral.
  v.window.page_bitmap.reset();
  v.window.page_width = v.window.page_height = 0;
  v.state.v_mode = 1;
  compute_view_geometry(v);
  EXPECT_FLOAT_EQ(v.state.fill_scale, 1.0f);
  EXPECT_FLOAT_EQ(v.state.mode_scale, 1.0f);
}

TEST_F(GeometryViewer, start_position_clamps_then_centres) {
  v.window.page_width = 1000;
  v.window.page_height = 500;
  auto start = [&](int r_top, int lr_mir) {
    v.state.r_top = r_top;
    v.state.lr_mir = lr_mir;
    set_start_position(v.state);
    finish_start_position(v);
    return v.state.scroll_x;
  };
  EXPECT_EQ(start(1, 1), 520);
  EXPECT_EQ(start(2, 1), 260);
  EXPECT_EQ(start(0, 1), 0);
  EXPECT_EQ(start(0, -1), 520);  // a mirrored page starts from the other end
  EXPECT_EQ(start(2, -1), 0);    // the mirror leaves nothing to centre
  EXPECT_EQ(v.state.center_x_pending, 0);
  EXPECT_EQ(v.state.scroll_y, 0);  // 500 high fits the screen
  v.window.page_width = 300;
  EXPECT_EQ(start(1, 1), 0);
  v.window.page_height = 1000;
  v.state.u_top = 2;
  set_start_position(v.state);
  EXPECT_EQ(v.state.scroll_y, kFarEnd);
  finish_start_position(v);
  EXPECT_EQ(v.state.scroll_y, 180);
}

TEST_F(GeometryViewer, mode_controls_follow_the_chosen_mode) {
  for (int i = 0; i < 7; ++i) v.dialog.insert_item(ctl::mode_combo, -1, u"mode");
  v.dialog.set_selection(ctl::mode_combo, 5);
  on_mode_combo_changed(v);
  EXPECT_EQ(v.state.v_mode, 5);
  EXPECT_TRUE(v.dialog.enabled(ctl::size_x));
  EXPECT_FALSE(v.dialog.enabled(ctl::size_y));
  EXPECT_EQ(v.dialog.text(ctl::size_x_label), u"Size");
  EXPECT_EQ(v.dialog.text(ctl::size_y_label), u" ");
  for (int i = 0; i < 7; ++i) EXPECT_EQ(v.dialog.checked(ctl::mode_radios[i]), i == 5) << i;

  on_mode_radio_clicked(v, 2);
  EXPECT_EQ(v.state.v_mode, 2);
  EXPECT_EQ(v.dialog.selection(ctl::mode_combo), 2);
  EXPECT_FALSE(v.dialog.enabled(ctl::size_x));
  EXPECT_TRUE(v.dialog.enabled(ctl::size_y));
  EXPECT_EQ(v.dialog.text(ctl::size_x_label), u"Size x");
  for (int i = 0; i < 7; ++i) EXPECT_EQ(v.dialog.checked(ctl::mode_radios[i]), i == 2) << i;

  // An unknown mode leaves the fields as they are and checks no radio.
  set_size_fields(v.dialog, 9);
  EXPECT_TRUE(v.dialog.enabled(ctl::size_y));
  v.state.v_mode = 9;
  sync_mode_radios(v.dialog, v.state.v_mode);
  for (int i = 0; i < 7; ++i) EXPECT_FALSE(v.dialog.checked(ctl::mode_radios[i]));

  on_auto_rotate_clicked(v);
  EXPECT_EQ(v.state.RSC, 1);
  EXPECT_TRUE(v.dialog.checked(ctl::auto_rotate_check));
  on_auto_rotate_clicked(v);
  EXPECT_EQ(v.state.RSC, 0);
  EXPECT_FALSE(v.dialog.checked(ctl::auto_rotate_check));
  on_reduction_clicked(v);
  EXPECT_EQ(v.state.ZOOM_MODE, 1);
  EXPECT_TRUE(v.dialog.checked(ctl::reduction_check));
}

}  // namespace
}  // namespace zeb
