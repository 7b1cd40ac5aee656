#pragma once
// The routing of control notifications to the main window's handlers.
#include "core/viewer.h"
#include "widgets/control_input.h"

namespace zeb {

// The notifications are the controls' own (widgets/control_input.h).
using platform::Notify;

// A control notification; routed by control id through one table.
void notify(Viewer& v, int id, Notify code);

}  // namespace zeb
