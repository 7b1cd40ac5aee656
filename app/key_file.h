#pragma once
// The key binding file read into the state and the key-setting panel's
// lists, and written from the state.
#include "core/viewer.h"

namespace zeb {
// Reads the bindings into the state and the key-setting panel's lists; a
// missing file is created from the bindings in memory.
void read_key_bindings(Viewer& v);
// Writes the bindings in memory (and empties the panel's lists).
void write_key_bindings(Viewer& v);
}  // namespace zeb
