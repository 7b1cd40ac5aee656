#include "settings/presets.h"

#include "core/codes.h"
#include "core/control_ids.h"
#include "host/files.h"
#include "host/text.h"
#include "settings/paths.h"
#include "settings/setting_file.h"
#include "settings/setting_lines.h"

namespace zeb {
namespace {

constexpr std::u16string_view kSuffix = u".set";
constexpr std::size_t kMaxFileNameBytes = 255;  // longest host file name

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

void list_presets(Viewer& v) {
  v.dialog.clear_items(ctl::preset_box);
  for (const auto& entry : platform::find_in_host_dir(settings_folder(v), u"*.set"))
    if (!entry.directory) v.dialog.add_item_sorted(ctl::preset_box, entry.name);
}

}  // namespace zeb
