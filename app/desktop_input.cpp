// The keyboard's page keys and the mouse wheel: page steps in the page view,
// list scrolling in the browser.
#include "app/desktop_input.h"

#include "app/control_input.h"
#include "app/page_steps.h"
#include "core/codes.h"
#include "core/control_ids.h"
#include "core/virtual_keys.h"

namespace zeb {
namespace {

// The first or last page, loaded as a reload of the current index is: no
// wrap-around, the status line follows.
void show_end_page(Viewer& v, bool last) {
  const int count = v.dialog.item_count(ctl::page_list);
  if (count == 0) return;
  v.state.page_index = last ? count - 1 : 0;
  turn_page(v, 0);
}

}  // namespace

bool desktop_page_key(Viewer& v, int vk) {
  if (v.state.viewing != 1 || v.state.settings_open == 1 || platform::focus_takes_text(v.dialog)) return false;
  switch (vk) {
    case vk::page_down:
    case vk::space: v.state.key_state = Request::next; return true;
    case vk::page_up: v.state.key_state = Request::previous; return true;
    case vk::home: show_end_page(v, false); return true;
    case vk::end: show_end_page(v, true); return true;
    default: return false;
  }
}

void wheel(Viewer& v, int px, int py, int steps) {
  if (steps == 0) return;
  const platform::Outcome drop_down = platform::wheel_drop_down(v.dialog, px, py, steps);
  if (drop_down.redraw) return apply_outcome(v, drop_down);
  if (v.state.viewing == 1 && !platform::any_drop_down_open(v.dialog)) {
    v.state.key_state = steps < 0 ? Request::next : Request::previous;
    return;
  }
  apply_outcome(v, platform::wheel_list(v.dialog, px, py, steps));
}

}  // namespace zeb
