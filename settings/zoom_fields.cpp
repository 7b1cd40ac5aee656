// The zoom mode's controls of the settings panel.
#include "settings/zoom_fields.h"

#include "core/codes.h"
#include "core/control_ids.h"

namespace zeb {
namespace {

struct SizeFields {
  bool x_enabled, y_enabled;
  const char16_t* x_label;
  const char16_t* y_label;
};
constexpr SizeFields kSizeFields[ZoomMode::count] = {
    {false, false, u"Size x", u"Size y"}, {true, false, u"Size x", u"Size y"},  {false, true, u"Size x", u"Size y"},
    {true, true, u"Size x", u"Size y"},   {false, false, u"Size x", u"Size y"}, {true, false, u"Size", u" "},
    {true, false, u"Size", u" "},
};

}  // namespace

void set_size_fields(platform::Dialog& d, int mode) {
  if (mode < 0 || mode >= ZoomMode::count) return;
  const SizeFields& fields = kSizeFields[mode];
  d.enable(ctl::size_x, fields.x_enabled);
  d.enable(ctl::size_y, fields.y_enabled);
  d.set_text(ctl::size_x_label, fields.x_label);
  d.set_text(ctl::size_y_label, fields.y_label);
}

void sync_mode_radios(platform::Dialog& d, int v_mode) {
  for (int i = 0; i < ZoomMode::count; ++i) d.set_check(ctl::mode_radios[i], v_mode == i);
}

}  // namespace zeb
