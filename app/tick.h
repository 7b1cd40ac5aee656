#pragma once
// The 100 ms tick's top level.
#include "core/viewer.h"

namespace zeb {
// One tick: the restore after a minimise, a pending sort, the requested
// action, then the page's own movement and the slide show.
void on_timer(Viewer& v);
}  // namespace zeb
