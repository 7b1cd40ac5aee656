#include "settings/config.h"

#include <algorithm>
#include <utility>

#include "core/codes.h"
#include "core/control_ids.h"
#include "host/files.h"
#include "host/text.h"
#include "settings/paths.h"
#include "settings/setting_file.h"
#include "settings/setting_lines.h"
#include "settings/zoom_fields.h"

namespace zeb {
namespace {

constexpr int kMinSize = 16;     // smallest Text1 / Text2 read, in pixels
constexpr int kMinSpeed = 1;     // smallest MAX_SP read, in pixels per tick

// At the first start the controls hold nothing yet, so the lines normally
// taken from them come from the state's defaults.
ConfigControlValues values_from_state(const ViewerState& s) {
  return {s.v_mode, text::from_int(s.Text1), text::from_int(s.Text2), text::from_int(s.SlideShow)};
}

ConfigControlValues values_from_controls(const platform::Dialog& d) {
  return {d.selection(ctl::mode_combo), d.text(ctl::size_x), d.text(ctl::size_y),
          d.text(ctl::wait_field)};
}

}  // namespace

void parse_configuration(std::string_view bytes, ViewerState& s) {
  const SettingEncoding encoding = take_encoding_mark(bytes);
  const auto lines = split_setting_lines(bytes);
  // Lines are numbered from 1 as in the file; lines 1 and 2 are ignored.
  auto number = [&](std::size_t line) { return setting_int(lines, line - 1); };
  auto string = [&](std::size_t line) { return decode_setting(setting_value(lines, line - 1), encoding); };
  s.LastDir = string(3);
  s.v_mode = number(4);
  s.ud_lop = number(5);
  s.lr_lop = number(6);
  s.r_top = number(7);
  s.u_top = number(8);
  s.v_left = number(9);
  s.Text1 = std::max(number(10), kMinSize);
  s.Text2 = std::max(number(11), kMinSize);
  s.lr_mir = number(12);
  s.ud_mir = number(13);
  s.SlideShow = number(14);
  s.LR_BT = number(15);
  s.SO_CH = number(16);
  s.SO_CHF = number(17);
  s.MAX_SP = std::max(number(18), kMinSpeed);
  s.SC_MODE = number(19);
  s.LastFName = string(20);
  s.ZOOM_MODE = number(21);
  s.RSC = number(22);
  s.MAX_BLOG = number(23);
}

std::string format_configuration(const ViewerState& s, const ConfigControlValues& c) {
  const SettingEncoding encoding = encoding_for({s.LastDir, c.size_x, c.size_y, c.wait, s.LastFName});
  auto encode = [&](std::u16string_view value) { return encode_setting(value, encoding); };
  std::string out(encoding_mark(encoding));
  append_setting(out, "x", 0);
  append_setting(out, "x", 0);
  append_setting(out, "LastDir", encode(s.LastDir));
  append_setting(out, "v_mode", c.mode);
  append_setting(out, "ud_lop", s.ud_lop);
  append_setting(out, "lr_lop", s.lr_lop);
  append_setting(out, "r_top", s.r_top);
  append_setting(out, "u_top", s.u_top);
  append_setting(out, "v_left", s.v_left);
  append_setting(out, "Text1", encode(c.size_x));
  append_setting(out, "Text2", encode(c.size_y));
  append_setting(out, "lr_mir", s.lr_mir);
  append_setting(out, "ud_mir", s.ud_mir);
  append_setting(out, "SlideShow", encode(c.wait));
  append_setting(out, "LR_BT", s.LR_BT);
  append_setting(out, "SO_CH", s.SO_CH);
  append_setting(out, "SO_CHF", s.SO_CHF);
  append_setting(out, "MAX_SP", s.MAX_SP);
  append_setting(out, "SC_MODE", s.SC_MODE);
  append_setting(out, "LastFName", encode(s.LastFName));
  append_setting(out, "ZOOM_MODE", s.ZOOM_MODE);
  append_setting(out, "RSC", s.RSC);
  append_setting(out, "MAX_BLOG", s.MAX_BLOG);
  return out;
}

void normalise_mirror_signs(ViewerState& s) {
  s.lr_mir = s.lr_mir == 1 ? 1 : -1;
  s.ud_mir = s.ud_mir == 1 ? 1 : -1;
}

std::optional<std::string> read_configuration(Viewer& v) {
  const std::string path = settings_file_path(v, kConfigurationFileName);
  // A file that exists but cannot be read is left as it is: the defaults
  // hold for this run.
  std::optional<std::string> on_disk = read_setting_file(path, kSmallSettingsFileLimit);
  if (on_disk) {
    parse_configuration(*on_disk, v.state);
  } else if (platform::host_path_missing(path)) {
    std::string defaults = format_configuration(v.state, values_from_state(v.state));
    if (platform::replace_host_file(path, defaults)) on_disk = std::move(defaults);
  }
  apply_configuration_to_controls(v);
  return on_disk;
}

std::string configuration_bytes(const Viewer& v) {
  return format_configuration(v.state, values_from_controls(v.dialog));
}

bool write_configuration(Viewer& v) {
  const std::string path = settings_file_path(v, kConfigurationFileName);
  const bool written = platform::replace_host_file(path, configuration_bytes(v));
  apply_configuration_to_controls(v);
  return written;
}

void apply_configuration_to_controls(Viewer& v) {
  auto& s = v.state;
  auto& d = v.dialog;
  d.set_selection(ctl::mode_combo, s.v_mode);
  d.set_check(ctl::auto_rotate_check, s.RSC != 0);
  normalise_mirror_signs(s);
  if (s.v_mode >= 0 && s.v_mode < ZoomMode::count) set_size_fields(v.dialog, s.v_mode);
  d.set_text(ctl::size_x, text::format("%d", s.Text1));
  d.set_text(ctl::size_y, text::format("%d", s.Text2));
  d.set_text(ctl::wait_field, text::format("%d", s.SlideShow));
  d.set_check(ctl::swap_tap_check, s.LR_BT != 0);
  d.set_check(ctl::auto_sort_check, s.SO_CH != 0);
  if (s.SC_MODE != 1) s.SC_MODE = -1;
  d.set_check(ctl::smooth_check, s.SC_MODE == 1);
  // The speed field is the authority on MAX_SP from here on.
  d.set_text(ctl::speed_field, text::format("%d", s.MAX_SP));
  s.MAX_SP = text::parse_int(d.text(ctl::speed_field));
  sync_mode_radios(v.dialog, v.state.v_mode);
}

}  // namespace zeb
