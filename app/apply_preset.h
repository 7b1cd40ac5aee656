#pragma once
// Applying, saving and deleting a setting preset from the preset box.
#include "core/viewer.h"
#include "settings/presets.h"

namespace zeb {
// Loads, saves or deletes one preset: load and delete take the selected item
// of the preset box, save takes the name typed in its text field. A loaded
// preset reaches the controls and the location opens again with it.
void run_preset(Viewer& v, PresetMode mode);
}  // namespace zeb
