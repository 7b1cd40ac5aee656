#pragma once
// The key binding file key.cfg of the settings folder: one line per button
// slot, "APnn=action".
#include <string>
#include <string_view>

#include "core/viewer.h"
#include "input/keys.h"

namespace zeb {
// Reads the bindings into the state and the key-setting panel's lists; a
// missing file is created from the bindings in memory.
void read_key_bindings(Viewer& v);
// Writes the bindings in memory (and empties the panel's lists).
void write_key_bindings(Viewer& v);
// The file's bytes and their reading.
std::string key_bindings_text(const KeyActions& actions);
KeyActions parse_key_bindings(std::string_view bytes);
}  // namespace zeb
