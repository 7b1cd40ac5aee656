#pragma once
// The routing of control notifications to the main window's handlers.
#include "core/viewer.h"

namespace zeb {

enum class Notify { click, dblclick, selchange, scroll, setfocus };

// A control notification; routed by control id through one table.
void notify(Viewer& v, int id, Notify code);

}  // namespace zeb
