// Folders, archives and page files named from outside the viewer.
#include "app/open_target.h"

#include "app/key_handlers.h"
#include "app/main_window.h"
#include "app/page_steps.h"
#include "app/siblings.h"
#include "core/control_ids.h"
#include "host/files.h"
#include "sources/names.h"

namespace zeb {
namespace {

std::u16string last_component(const std::u16string& location) {
  const std::size_t cut = location.rfind(u'\\');
  return cut == std::u16string::npos ? location : location.substr(cut + 1);
}

int page_list_index(const Viewer& v, const std::u16string& name) {
  for (int i = 0; i < v.dialog.item_count(ctl::page_list); ++i)
    if (v.dialog.item_text(ctl::page_list, i) == name) return i;
  return -1;
}

// Back to the browser from wherever the reader is: the key-setting panel
// and the settings panel close, the page view is left.
void leave_panels(Viewer& v) {
  if (v.state.key_learn == 1) on_key_settings_clicked(v);
  if (v.state.settings_open == 1) settings_toggle(v);
  if (v.state.viewing == 1) leave_viewing(v);
}

}  // namespace

std::optional<OpenTarget> open_target_of(const platform::Storage& storage, const std::string& host_path,
                                         std::string& why) {
  const bool folder = platform::host_dir_exists(host_path);
  if (!folder && !platform::host_file_exists(host_path)) {
    why = host_path + " does not exist";
    return std::nullopt;
  }
  std::optional<std::u16string> location = storage.location_of(host_path);
  if (!location) {
    why = host_path + " is outside the storage root " + storage.root();
    return std::nullopt;
  }
  if (folder || is_archive_name(*location)) return OpenTarget{*location, {}};
  const std::u16string name = last_component(*location);
  if (!is_page_name(name)) {
    why = host_path + " is neither a folder, an archive nor a JPEG page";
    return std::nullopt;
  }
  return OpenTarget{parent_path(*location), name};
}

bool show_named_page(Viewer& v, const std::u16string& name) {
  const int index = page_list_index(v, name);
  if (index < 0) return false;
  v.dialog.set_selection(ctl::page_list, index);
  enter_page_view(v);
  update_status(v);
  return true;
}

void open_handed_over(Viewer& v, const std::string& host_path) {
  std::string why;
  const std::optional<OpenTarget> target = open_target_of(v.platform.storage, host_path, why);
  if (!target || !location_fits(target->location)) return;
  leave_panels(v);
  change_location(v, target->location);
  if (!target->page.empty()) show_named_page(v, target->page);
}

}  // namespace zeb
