#pragma once
// The zoom mode's controls of the settings panel: which size fields a mode
// uses and their labels, and the mode radio buttons.
#include "core/viewer.h"

namespace zeb {
// Enables the size fields the mode reads and labels them; nothing for a
// mode out of range.
void set_size_fields(platform::Dialog& d, int mode);
// Checks the radio button of v_mode and clears the others.
void sync_mode_radios(platform::Dialog& d, int v_mode);
}  // namespace zeb
