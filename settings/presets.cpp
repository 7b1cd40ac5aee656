#include "settings/presets.h"

#include "core/codes.h"
#include "core/control_ids.h"
#include "host/files.h"
#include "host/text.h"
#include "settings/config.h"
#include "settings/paths.h"
#include "settings/setting_file.h"
#include "settings/setting_lines.h"
#include "sources/names.h"
#include "view/geometry.h"

namespace zeb {
namespace {

constexpr std::u16string_view kSuffix = u".set";
constexpr std::size_t kMaxFileNameBytes = 255;  // longest host file name

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

std::u16string preset_file_name(std::u16string_view name) {
  if (name.empty() || name == u"." || name == u"..") return {};
  if (name.find_first_of(std::u16string_view(u"\\/\0", 3)) != std::u16string_view::npos) return {};
  std::u16string file_name(name);
  if (!text::ends_with(name, kSuffix)) file_name += kSuffix;
  // A name no file can carry is refused before anything is asked.
  if (text::to_utf8(file_name).size() > kMaxFileNameBytes) return {};
  return file_name;
}

void parse_preset(std::string_view bytes, ViewerState& s) {
  take_encoding_mark(bytes);  // every value is a number
  const auto lines = split_setting_lines(bytes);
  s.v_mode = setting_int(lines, 0);
  s.ud_lop = setting_int(lines, 1);
  s.lr_lop = setting_int(lines, 2);
  s.r_top = setting_int(lines, 3);
  s.u_top = setting_int(lines, 4);
  s.v_left = setting_int(lines, 5);
  s.Text1 = setting_int(lines, 6);
  s.Text2 = setting_int(lines, 7);
  s.lr_mir = setting_int(lines, 8);
  s.ud_mir = setting_int(lines, 9);
}

std::string format_preset(const ViewerState& s, int mode, std::u16string_view size_x,
                          std::u16string_view size_y) {
  const SettingEncoding encoding = encoding_for({size_x, size_y});
  std::string out(encoding_mark(encoding));
  append_setting(out, "v_mode", mode);
  append_setting(out, "ud_lop", s.ud_lop);
  append_setting(out, "lr_lop", s.lr_lop);
  append_setting(out, "r_top", s.r_top);
  append_setting(out, "u_top", s.u_top);
  append_setting(out, "v_left", s.v_left);
  append_setting(out, "Text1", encode_setting(size_x, encoding));
  append_setting(out, "Text2", encode_setting(size_y, encoding));
  append_setting(out, "lr_mir", s.lr_mir);
  append_setting(out, "ud_mir", s.ud_mir);
  return out;
}

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

void list_presets(Viewer& v) {
  v.dialog.clear_items(ctl::preset_box);
  for (const auto& entry : platform::find_in_host_dir(settings_folder(v), u"*.set"))
    if (!entry.directory) v.dialog.add_item_sorted(ctl::preset_box, entry.name);
}

}  // namespace zeb
