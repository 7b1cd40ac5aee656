#pragma once
// Paths of the settings files: app_dir + "/" + kSettingsFolderName + "/" + name.
#include <string>

#include "core/viewer.h"

namespace zeb {

// The settings files a confirmed exit writes.
constexpr const char16_t* kConfigurationFileName = u"zeb.cfg";
constexpr const char16_t* kBookmarkFileName = u"auto_bk.dat";

// Sets app_dir, creates the settings folder when missing (failure ignored),
// shows the file's path in the file path box, and returns the host path.
std::string settings_file_path(Viewer& v, const std::u16string& file_name);
// The settings folder itself (host path), created when missing.
std::string settings_folder(Viewer& v);
// The host path of the settings folder, and of a file in it, as the two
// above give them, without making the folder or touching state or controls.
std::string settings_folder_path(const Viewer& v);
std::string settings_file_host_path(const Viewer& v, const std::u16string& file_name);
}  // namespace zeb
