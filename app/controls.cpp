// The main window's control table: every child control with its kind,
// caption, styles, visibility when the window is created and placement.
#include "app/controls.h"

#include "core/control_ids.h"
#include "view/pictures.h"

namespace zeb {
namespace {

using platform::Kind;

enum Shown { yes, no, never };

// Placement in layout units (multiplied by screen_scale), or a template
// position in dialog units for the few controls the start-up never places.
struct Placement {
  enum Unit { layout, dialog_units, none } unit = none;
  int x = 0, y = 0, w = 0, h = 0;
};
constexpr Placement at(int x, int y, int w, int h) { return {Placement::layout, x, y, w, h}; }
constexpr Placement tmpl(int x, int y, int w, int h) { return {Placement::dialog_units, x, y, w, h}; }
constexpr Placement nowhere() { return {}; }

enum Style : unsigned { plain = 0, notify = 1, sorted = 2, numeric = 4, lower = 8, editable = 16, group = 32,
                        disabled = 64 };

struct Row {
  int id;
  Kind kind;
  const char16_t* caption;
  Shown shown;
  Placement place;
  unsigned styles;
};

// Dialog units of the template converted to pixels: one horizontal unit is
// 1.5 pixels and one vertical unit 1.625 pixels, the usual base units of the
// dialog font (6 x 13 pixels per 4 x 8 units).
platform::Rect template_to_pixels(const Placement& p) {
  return {p.x * 3 / 2, p.y * 13 / 8, p.w * 3 / 2, p.h * 13 / 8};
}

const Row kControls[] = {
    {ctl::path_box, Kind::edit, u"", no, at(0, 0, 200, 19), plain},
    {ctl::folder_list, Kind::list, u"", no, at(0, 20, 240, 80), notify | sorted},
    {ctl::page_list, Kind::list, u"", no, at(0, 101, 240, 80), notify | sorted},
    {ctl::file_path_box, Kind::edit, u"", never, nowhere(), plain},
    {ctl::page_path_edit, Kind::edit, u"", never, nowhere(), plain},
    {ctl::mode_combo, Kind::combo, u"", no, at(0, 0, 200, 19), sorted},
    {ctl::mode_indicator, Kind::edit, u"", never, nowhere(), plain},
    {ctl::settings_button, Kind::button, u"設定", no, at(0, 265, 120, 20), plain},
    {ctl::settings_edit, Kind::edit, u"", no, tmpl(175, 130, 55, 12), plain},
    {ctl::preset_save, Kind::button, u"Save", no, at(120, 166, 60, 24), plain},
    {ctl::preset_delete, Kind::button, u"Delete", no, at(180, 166, 60, 24), plain},
    {ctl::sort_ascending, Kind::button, u"昇順ソート", no, at(0, 247, 60, 20), plain},
    {ctl::size_x, Kind::edit, u"", no, at(7, 181, 40, 18), numeric},
    {ctl::size_y, Kind::edit, u"", no, at(55, 181, 40, 18), numeric},
    {ctl::number_pad, Kind::picture, u"", no,
     at(ctl::number_pad_box.x, ctl::number_pad_box.y, ctl::number_pad_box.w, ctl::number_pad_box.h), plain},
    {ctl::slide_show_check, Kind::check_box, u"スライドショー", no, at(0, 227, 90, 20), plain},
    {ctl::random_check, Kind::check_box, u"ランダム表示", no, at(0, 207, 120, 20), plain},
    {ctl::preset_box, Kind::combo, u"", no, at(0, 146, 240, 20), sorted | editable},
    {ctl::size_x_label, Kind::static_text, u"Size x", no, at(7, 166, 40, 15), plain},
    {ctl::size_y_label, Kind::static_text, u"Size y", no, at(55, 166, 40, 15), plain},
    {ctl::page_slider, Kind::slider, u"Slider1", no, at(0, 300, 240, 20), plain},
    {ctl::status_line, Kind::static_text, u"/[]", no, at(0, 286, 240, 14), plain},
    {ctl::mode_radio_0, Kind::radio, u"通常表示", no, at(0, 24, 150, 15), group},
    {ctl::mode_radio_1, Kind::radio, u"横幅を指定", no, at(0, 39, 150, 15), plain},
    {ctl::mode_radio_2, Kind::radio, u"高さを指定", no, at(0, 54, 150, 15), plain},
    {ctl::mode_radio_3, Kind::radio, u"指定サイズ内強制表示", no, at(0, 69, 150, 15), plain},
    {ctl::mode_radio_4, Kind::radio, u"画面内表示(自動回転)", no, at(0, 84, 150, 15), plain},
    {ctl::mode_radio_5, Kind::radio, u"画像の長い方を指定", no, at(0, 99, 150, 15), plain},
    {ctl::mode_radio_6, Kind::radio, u"画像の短い方を指定", no, at(0, 114, 150, 15), plain},
    {ctl::swap_tap_check, Kind::check_box, u"タップ画面送りと戻し反転", no, at(0, 201, 160, 18), plain},
    {ctl::lower_case_edit, Kind::edit, u"", never, nowhere(), lower},
    {ctl::wait_field, Kind::edit, u"", no, at(130, 221, 30, 18), numeric},
    {ctl::wait_label, Kind::static_text, u"スライドショーのウエイト", no, at(0, 221, 130, 18), plain},
    {ctl::sibling_list, Kind::list, u"", never, nowhere(), notify | sorted},
    {ctl::next_folder, Kind::button, u">", yes, at(226, 286, 14, 14), plain},
    {ctl::previous_folder, Kind::button, u"<", yes, at(0, 286, 14, 14), plain},
    {ctl::folder_change, Kind::button, u"FolderChange", yes, tmpl(40, 0, 50, 15), plain},
    {ctl::quit_button, Kind::button, u"Button10", no, tmpl(278, 204, 10, 11), plain},
    {ctl::search_result_edit, Kind::edit, u"", never, nowhere(), plain},
    {ctl::toolbar, Kind::picture, u"", no, at(0, 0, 200, 20), plain},
    {ctl::sort_descending, Kind::button, u"降順ソート", yes, at(60, 247, 60, 20), plain},
    {ctl::auto_sort_check, Kind::check_box, u"自動ソート", yes, at(0, 187, 120, 20), plain},
    {ctl::key_name_edit, Kind::edit, u"", never, nowhere(), plain},
    {ctl::key_settings, Kind::button, u"キー設定", yes, at(0, 285, 120, 20), plain},
    {ctl::key_list, Kind::list, u"", no, at(0, 21, 120, 265), disabled},
    {ctl::key_action_list, Kind::list, u"", no, at(120, 21, 120, 265), plain},
    {ctl::key_action_combo, Kind::combo, u"", no, at(0, 0, 120, 20), sorted},
    {ctl::key_unbind, Kind::button, u"キー解除", no, at(120, 0, 120, 20), plain},
    {ctl::key_save, Kind::button, u"キー設定の保存", no, at(120, 285, 120, 20), plain},
    {ctl::full_screen_again, Kind::button, u"再", yes, at(90, 227, 30, 20), plain},
    {ctl::smooth_check, Kind::check_box, u"なめらかさん", yes, at(82, 241, 90, 18), plain},
    {ctl::speed_label, Kind::static_text, u"移動速度", yes, at(0, 241, 50, 18), plain},
    {ctl::speed_field, Kind::edit, u"", yes, at(50, 241, 30, 18), numeric},
    {ctl::focus_sink, Kind::edit, u"", no, nowhere(), plain},
    {ctl::reduction_check, Kind::check_box, u"縮小モード", no, at(150, 129, 0, 0), plain},
    {ctl::window_buttons, Kind::picture, u"", yes, at(200, 0, 40, 19), plain},
    {ctl::auto_rotate_check, Kind::check_box, u"自動回転", no, at(150, 24, 90, 15), plain},
    {ctl::archive_offsets, Kind::list, u"", never, nowhere(), notify | sorted},
    {ctl::key_reset, Kind::button, u"キー設定の初期化", no, at(120, 305, 120, 20), plain},
    {ctl::picker, Kind::picture, u"", yes, at(180, 186, 60, 100), plain},
    {ctl::folder_history, Kind::list, u"", never, at(0, 120, 0, 0), notify | sorted},
};

// The picture controls and the picture each carries; the picker's is its
// unselected look.
struct PictureRow {
  int id;
  int picture;
};
constexpr PictureRow kPictures[] = {
    {ctl::number_pad, platform::kNumberPadPicture},
    {ctl::toolbar, platform::kToolbarPicture},
    {ctl::window_buttons, platform::kWindowButtonsPicture},
    {ctl::picker, platform::kPickerOffPicture},
};

platform::Control make_control(const Row& row) {
  platform::Control c;
  c.id = row.id;
  c.kind = row.kind;
  c.text = row.caption;
  c.visible = row.shown == yes;
  c.enabled = !(row.styles & disabled);
  c.notify = row.styles & notify;
  c.sorted_style = row.styles & sorted;
  c.numeric = row.styles & numeric;
  c.lower_case = row.styles & lower;
  c.editable = row.styles & editable;
  c.group_start = row.styles & group;
  if (row.place.unit == Placement::dialog_units) c.rect = template_to_pixels(row.place);
  return c;
}

}  // namespace

void create_controls(Viewer& v) {
  v.dialog = platform::Dialog();
  for (const Row& row : kControls) v.dialog.add(make_control(row));
  for (const PictureRow& row : kPictures) v.dialog.find(row.id)->picture = platform::load_picture(row.picture);
}

void place_controls(Viewer& v) {
  constexpr int s = screen_scale;
  for (const Row& row : kControls) {
    if (row.place.unit != Placement::layout) continue;
    const Placement& p = row.place;
    v.dialog.move(row.id, {s * p.x, s * p.y, s * p.w, s * p.h});
  }
  // The focus sink is one pixel, not scaled; the picker follows picker_x/y.
  v.dialog.move(ctl::focus_sink, {0, 0, 1, 1});
  v.dialog.move(ctl::picker, {s * v.state.picker_x, s * v.state.picker_y, s * 60, s * 100});
  v.dialog.move(ctl::folder_history, {0, s * 120, 0, 0});
}

bool is_never_visible(int id) {
  for (const Row& row : kControls)
    if (row.id == id) return row.shown == never;
  return false;
}

}  // namespace zeb
