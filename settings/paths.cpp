#include "settings/paths.h"

#include "core/control_ids.h"
#include "host/files.h"
#include "host/text.h"

namespace zeb {
namespace {

// The resolved app_dir without a trailing separator; "." when the front end
// left it unset, so the settings never land in the host's root folder.
std::string app_dir_of(const Viewer& v) {
  std::string dir = v.platform.app_dir_host;
  while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
  return dir.empty() ? "." : dir;
}

}  // namespace

std::string settings_folder_path(const Viewer& v) {
  const std::string app_dir = app_dir_of(v);
  return (app_dir == "/" ? "" : app_dir) + "/" + platform::kSettingsFolderName;
}

std::string settings_file_host_path(const Viewer& v, const std::u16string& file_name) {
  return settings_folder_path(v) + "/" + text::to_utf8(file_name);
}

std::string settings_folder(Viewer& v) {
  v.state.app_dir = text::from_utf8(app_dir_of(v));
  std::string folder = settings_folder_path(v);
  platform::make_host_dir(folder);  // an existing folder is fine; failure shows at open
  return folder;
}

std::string settings_file_path(Viewer& v, const std::u16string& file_name) {
  settings_folder(v);
  std::string path = settings_file_host_path(v, file_name);
  v.dialog.set_text(ctl::file_path_box, text::from_utf8(path));
  return path;
}

}  // namespace zeb
