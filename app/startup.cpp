// Start-up of the main window. Each step is one line so the order reads at
// a glance.
#include "app/startup.h"

#include <iterator>
#include <optional>
#include <string>
#include <utility>

#include "app/controls.h"
#include "app/key_file.h"
#include "app/main_window.h"
#include "app/open_location.h"
#include "app/panels.h"
#include "app/siblings.h"
#include "app/sort_pages.h"
#include "core/codes.h"
#include "core/control_ids.h"
#include "core/virtual_keys.h"
#include "image/read_ahead.h"
#include "input/keys.h"
#include "settings/bookmarks.h"
#include "settings/config.h"
#include "settings/key_bindings.h"
#include "settings/presets.h"
#include "settings/settle_save.h"
#include "settings/zoom_fields.h"
#include "view/geometry.h"
#include "view/pictures.h"

namespace zeb {
namespace {

const char16_t* const kKeyActionItems[] = {
    u"指定なし", u"次のページ", u"前のページ", u"戻る＆終了", u"上移動",
    u"下移動", u"左移動", u"右移動", u"ウインドウの再描画", u"最小化"};
static_assert(std::size(kKeyActionItems) == KeyAction::count);

const char16_t* const kModeItems[] = {
    u"通常表示", u"横幅を指定", u"高さを指定", u"指定ドット内に強制表示",
    u"画面内表示(自動回転)", u"画像の長い方を指定", u"画像の短い方を指定"};
static_assert(std::size(kModeItems) == ZoomMode::count);


void load_picker_bitmaps(Viewer& v) {
  v.window.picker_on_bitmap = platform::load_picture(platform::kPickerOnPicture);
  v.window.picker_off_bitmap = platform::load_picture(platform::kPickerOffPicture);
}

void fill_combo(Viewer& v, int id, const char16_t* const* items, int count) {
  for (int i = 0; i < count; ++i) v.dialog.insert_item(id, i, items[i]);
}

// Read twice around choosing the combo's first action: the first reading
// creates the file from the bindings in memory when it is missing, the
// second then fills the lists from the file.
void read_key_bindings_twice(Viewer& v) {
  read_key_bindings(v);
  v.dialog.set_selection(ctl::key_action_combo, 0);
  read_key_bindings(v);
}

void show_location_and_focus(Viewer& v) {
  v.dialog.set_text(ctl::path_box, v.state.LastDir);
  v.dialog.set_focus(ctl::page_list);
}

void select_mode_and_size_fields(Viewer& v) {
  v.dialog.set_selection(ctl::mode_combo, v.state.v_mode);
  set_size_fields(v.dialog, v.dialog.selection(ctl::mode_combo));
}

void place_all_controls(Viewer& v) {
  v.state.picker_x = 180;
  v.state.picker_y = 186;
  place_controls(v);
}

void scan_start_location(Viewer& v) {
  open_location(v);
  build_sibling_list(v);
}

void open_game_input(Viewer& v) {
  v.platform.game_input_open = true;
  // Game-input keys A, B, C and Start: the front ends send these virtual keys.
  v.state.gx_keys = {static_cast<short>(vk::game_a), static_cast<short>(vk::game_b), static_cast<short>(vk::game_c),
                     static_cast<short>(vk::game_start)};
}

void colour_controls(Viewer& v) {
  for (auto& c : v.dialog.controls()) c.text_color = control_colour(c.id);
}

}  // namespace

void initialise_main_window(Viewer& v, const OpenTarget* target) {
  colour_controls(v);  // the zoom-mode radios draw in red
  load_picker_bitmaps(v);
  full_screen_setup(v);
  v.platform.window.title = u"ZEB";
  std::optional<std::string> bookmarks_on_disk = read_bookmarks(v);
  fill_combo(v, ctl::key_action_combo, kKeyActionItems, KeyAction::count);
  read_key_bindings_twice(v);
  fill_combo(v, ctl::mode_combo, kModeItems, ZoomMode::count);
  std::optional<std::string> configuration_on_disk = read_configuration(v);
  if (target) v.state.LastDir = target->location;  // a location named at start wins
  show_location_and_focus(v);
  select_mode_and_size_fields(v);
  v.dialog.set_text(ctl::mode_indicator, v.state.mode_label);
  apply_panel_mode(v, PanelMode::lists);
  list_presets(v);
  place_all_controls(v);
  v.state.bg_color = 0xFFFFFF;
  scan_start_location(v);
  if (v.state.SO_CH == 1) request_sort(v, v.state.SO_CHF != 0);
  open_game_input(v);
  // Written and read once more: the file then holds the bindings in use
  // (writing empties the lists, reading fills them again).
  write_key_bindings(v);
  read_key_bindings(v);
  sync_mode_radios(v.dialog, v.state.v_mode);
  if (target && !target->page.empty()) show_named_page(v, target->page);
  start_settle_save(v, std::move(bookmarks_on_disk), std::move(configuration_on_disk));
}

void destroy_main_window(Viewer& v) {
  // A save handed over before the end, the quit button's too, is completed.
  wait_for_settle_save(v);
  v.platform.game_input_open = false;
  cancel_read_ahead(v.window);
  v.window.kept_pages.reset();
  v.window.page_bitmap.reset();
  v.window.view_bitmap.reset();
}

}  // namespace zeb
