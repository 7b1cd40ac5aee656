// Applying, saving and deleting a setting preset: the preset file's
// reading and writing combined with the controls, the question boxes and
// opening the location again.
#include "app/apply_preset.h"

#include "app/open_location.h"
#include "core/codes.h"
#include "core/control_ids.h"
#include "host/files.h"
#include "host/text.h"
#include "settings/config.h"
#include "settings/paths.h"
#include "settings/setting_file.h"
#include "settings/zoom_fields.h"

namespace zeb {
namespace {

// Yes/No question; without a front end to answer it the answer is No.
bool ask(Viewer& v, const std::u16string& text, const std::u16string& caption) {
  return v.platform.host && v.platform.host->message_box(text, caption);
}

std::u16string preset_name(const platform::Dialog& d, PresetMode mode) {
  if (mode == PresetMode::save) return d.text(ctl::preset_box);
  return d.item_text(ctl::preset_box, d.selection(ctl::preset_box));
}

void delete_preset(Viewer& v, const std::u16string& file_name) {
  const std::string path = settings_folder(v) + "/" + text::to_utf8(file_name);
  if (ask(v, text::from_utf8(path), u"ファイルの削除")) platform::delete_host_file(path);
}

// Asks before adding or overwriting, then writes. False only when a
// confirmed write failed: the operation then ends without applying.
bool save_preset(Viewer& v, const std::string& path, const std::u16string& file_name, bool exists) {
  if (!ask(v, u"\\" + file_name, exists ? u"ファイルの上書" : u"ファイルの追加")) return true;
  const auto& d = v.dialog;
  const std::string bytes =
      format_preset(v.state, d.selection(ctl::mode_combo), d.text(ctl::size_x), d.text(ctl::size_y));
  return platform::replace_host_file(path, bytes);
}

void apply_preset_values(Viewer& v) {
  auto& s = v.state;
  v.dialog.set_selection(ctl::mode_combo, s.v_mode);
  normalise_mirror_signs(s);
  if (s.v_mode >= 0 && s.v_mode < ZoomMode::count) set_size_fields(v.dialog, s.v_mode);
  v.dialog.set_text(ctl::size_x, text::format("%d", s.Text1));
  v.dialog.set_text(ctl::size_y, text::format("%d", s.Text2));
  sync_mode_radios(v.dialog, v.state.v_mode);
}

}  // namespace

void run_preset(Viewer& v, PresetMode mode) {
  const std::u16string file_name = preset_file_name(preset_name(v.dialog, mode));
  if (file_name.empty()) return;  // refused: nothing is read, written or deleted
  if (mode == PresetMode::remove) {
    delete_preset(v, file_name);
    return;
  }
  const std::string path = settings_file_path(v, file_name);
  const auto bytes = read_setting_file(path, kSmallSettingsFileLimit);
  if (mode == PresetMode::load) {
    if (!bytes) return;  // a preset that has gone away changes nothing
    parse_preset(*bytes, v.state);
    // The values reach the controls before the location opens again: the
    // page is then shown with them, the sizes included, which the page
    // loader takes from the size fields.
    apply_preset_values(v);
    open_location(v);
  } else if (save_preset(v, path, file_name, bytes.has_value())) {
    apply_preset_values(v);
  }
}

}  // namespace zeb
