#include "app/control_input.h"

#include "app/routing.h"

namespace zeb {

void apply_outcome(Viewer& v, const platform::Outcome& outcome) {
  if (outcome.notify) notify(v, outcome.control, *outcome.notify);
  if (outcome.redraw) v.repaint();
}

void click_control(Viewer& v, int id) { apply_outcome(v, platform::click_control(v.dialog, id)); }

void select_item(Viewer& v, int id, int index) { apply_outcome(v, platform::select_item(v.dialog, id, index)); }

void press_control(Viewer& v, int id, int px, int py) {
  apply_outcome(v, platform::press_control(v.dialog, id, px, py));
}

void release_control(Viewer& v, int id, int px, int py) {
  apply_outcome(v, platform::release_control(v.dialog, id, px, py));
}

void drag_control(Viewer& v, int id, int px, int py) { apply_outcome(v, platform::drag_control(v.dialog, id, px, py)); }

}  // namespace zeb
