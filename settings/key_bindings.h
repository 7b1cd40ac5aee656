#pragma once
// The key binding file key.cfg of the settings folder: one line per button
// slot, "APnn=action".
#include <string>
#include <string_view>

#include "core/viewer.h"

namespace zeb {
// The host path of the key binding file in the settings folder.
std::string key_file_path(Viewer& v);
// The file's bytes and their reading.
std::string key_bindings_text(const KeyActions& actions);
KeyActions parse_key_bindings(std::string_view bytes);
}  // namespace zeb
