// Setting presets: the input is a preset file. The viewer starts with it in
// the settings folder, loads it from the preset box while a page is shown,
// saves it under its name again and loads that copy: both loads must give
// the same view settings. The input's first line also serves as a typed
// preset name, whose file name must never leave the settings folder.
#include <cstdlib>

#include "app/messages.h"
#include "app/settings_handlers.h"
#include "core/control_ids.h"
#include "fuzz/fuzz_support.h"
#include "host/text.h"
#include "settings/presets.h"

namespace {

void check_typed_name(std::string_view bytes) {
  const std::u16string name = zeb::text::from_cp932(bytes.substr(0, bytes.find('\n')));
  const std::u16string file = zeb::preset_file_name(name);
  if (file.empty()) return;
  if (file == u"." || file == u".." || file.find_first_of(std::u16string_view(u"\\/\0", 3)) != std::u16string::npos)
    std::abort();
}

struct ViewSettings {
  int v_mode, ud_lop, lr_lop, r_top, u_top, v_left, Text1, Text2, lr_mir, ud_mir;
  bool operator==(const ViewSettings&) const = default;
};

// A preset stores the mode combo's choice, and a mode outside the seven
// leaves the combo without one; such a mode is compared as "none".
ViewSettings view_settings(const zeb::ViewerState& s) {
  const int mode = s.v_mode >= 0 && s.v_mode < 7 ? s.v_mode : -1;
  return {mode, s.ud_lop, s.lr_lop, s.r_top, s.u_top, s.v_left, s.Text1, s.Text2, s.lr_mir, s.ud_mir};
}

// Chooses the preset in the box, which loads it.
void choose(zeb::Viewer& v, std::u16string_view name) {
  const int count = v.dialog.item_count(zeb::ctl::preset_box);
  for (int i = 0; i < count; ++i) {
    if (v.dialog.item_text(zeb::ctl::preset_box, i) != name) continue;
    v.dialog.set_selection(zeb::ctl::preset_box, i);
    zeb::notify(v, zeb::ctl::preset_box, zeb::Notify::selchange);
    return;
  }
  std::abort();  // the preset file was not listed
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  check_typed_name(bytes);

  zeb::fuzz::reset_settings();
  zeb::fuzz::write_scratch_file(zeb::fuzz::settings_path("fuzz.set"), bytes);
  zeb::fuzz::FuzzViewer fv;
  zeb::Viewer& v = fv.viewer;
  zeb::fuzz::view_current_location(v);
  choose(v, u"fuzz.set");
  const ViewSettings loaded = view_settings(v.state);
  v.dialog.set_text(zeb::ctl::preset_box, u"copy");
  zeb::on_preset_save_clicked(v);
  choose(v, u"copy.set");
  if (view_settings(v.state) != loaded) std::abort();
  zeb::fuzz::run_session(v);
  return 0;
}
