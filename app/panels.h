#pragma once
// Panel modes: which controls the page view, browser and settings show.
#include "core/viewer.h"

namespace zeb {
void apply_panel_mode(Viewer& v, int mode);
}
