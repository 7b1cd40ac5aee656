#pragma once
// How the controls themselves answer the stylus, shared by both front ends:
// buttons click on release, check boxes and radio buttons toggle themselves,
// lists select the item under the stylus, combos open and choose from their
// drop-down, sliders move their thumb, edits take the focus.
#include "core/viewer.h"

namespace zeb {
// A check box or radio button toggles itself, then the click notification.
void click_control(Viewer& v, int id);
// Selects an item of a list or combo and sends the selection change.
void select_item(Viewer& v, int id, int index);
void press_control(Viewer& v, int id, int px, int py);
void release_control(Viewer& v, int id, int px, int py);
// Dragging on a control while the stylus is down (slider thumb).
void drag_control(Viewer& v, int id, int px, int py);
}  // namespace zeb
