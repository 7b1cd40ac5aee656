#pragma once
// The configuration file zeb.cfg.
#include "app/viewer.h"

namespace zeb {
// Load at start-up (writes the defaults when the file is missing).
void read_configuration(Viewer& v);
// Save at the confirmed exit.
void write_configuration(Viewer& v);
void apply_configuration_to_controls(Viewer& v);
}  // namespace zeb
