// The key binding file between the settings folder, the state and the
// key-setting panel's lists.
#include "app/key_file.h"

#include <optional>
#include <string>

#include "core/codes.h"
#include "host/files.h"
#include "input/keys.h"
#include "settings/key_bindings.h"
#include "settings/paths.h"
#include "settings/setting_file.h"

namespace zeb {

void read_key_bindings(Viewer& v) {
  clear_key_lists(v.dialog);
  const std::string path = key_file_path(v);
  const std::optional<std::string> bytes = read_setting_file(path, kSmallSettingsFileLimit);
  if (!bytes) {
    // A missing file is created from the bindings in memory; one that exists
    // but cannot be read is left alone rather than overwritten.
    if (platform::host_path_missing(path)) {
      platform::replace_host_file(path, key_bindings_text(v.state.key_actions));
    }
    return;
  }
  v.state.key_actions = parse_key_bindings(*bytes);
  for (int k = 0; k < kKeySlots; ++k) {
    const int action = v.state.key_actions[k];
    if (action >= 1 && action < KeyAction::count) append_binding_row(v.dialog, button_name(k), action);
  }
}

// Replaced atomically, so a failed save leaves the previous file whole; a
// failure is not reported and the bindings stay in memory.
void write_key_bindings(Viewer& v) {
  clear_key_lists(v.dialog);
  const std::string path = key_file_path(v);
  platform::replace_host_file(path, key_bindings_text(v.state.key_actions));
}

}  // namespace zeb
