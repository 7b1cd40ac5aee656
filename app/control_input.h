#pragma once
// The controls' answers to input (widgets/control_input.h) delivered to the
// viewer: the notification a control sends goes through the routing table,
// and a changed look repaints the window. Both front ends come through here.
#include "core/viewer.h"
#include "widgets/control_input.h"

namespace zeb {
// Routes what a control did: its notification, then the repaint it asks for.
void apply_outcome(Viewer& v, const platform::Outcome& outcome);
// A check box or radio button toggles itself, then the click notification.
void click_control(Viewer& v, int id);
// Selects an item of a list or combo and sends the selection change.
void select_item(Viewer& v, int id, int index);
void press_control(Viewer& v, int id, int px, int py);
void release_control(Viewer& v, int id, int px, int py);
// Dragging on a control while the stylus is down (slider thumb).
void drag_control(Viewer& v, int id, int px, int py);
}  // namespace zeb
