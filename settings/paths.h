#pragma once
// Paths of the settings files: app_dir + "/ZEB_CFG" + "/" + name.
#include <string>

#include "core/viewer.h"

namespace zeb {
// Sets app_dir, creates the settings folder when missing (failure ignored),
// shows the file's path in the file path box, and returns the host path.
std::string settings_file_path(Viewer& v, const std::u16string& file_name);
// The settings folder itself (host path), created when missing.
std::string settings_folder(Viewer& v);
}  // namespace zeb
