// The sibling folder list (folders with pages and archives beside the
// current location) and the "FolderChange" pop-up menu built from it.
#include <vector>

#include "app/messages.h"
#include "core/control_ids.h"
#include "sources/folders.h"
#include "sources/sorting.h"

namespace zeb {

namespace {

constexpr int kSiblingMenuBase = 8200;
// The popup's own title item; choosing it has no effect, like dismissing.
constexpr int kFolderChangeTitleId = 0;

std::u16string last_component(const std::u16string& path) {
  std::size_t cut = path.rfind(u'\\');
  return cut == std::u16string::npos ? path : path.substr(cut + 1);
}

}  // namespace

bool folder_has_pages(Viewer& v, const std::u16string& folder, const std::u16string& extension) {
  return !v.platform.storage.find(folder + u"\\*." + extension).empty();
}

void build_sibling_list(Viewer& v) {
  auto& d = v.dialog;
  d.clear_items(ctl::sibling_list);
  std::u16string parent = parent_path(d.text(ctl::path_box));
  int next = 0;
  for (const auto& entry : v.platform.storage.find(parent + u"\\*.*")) {
    std::u16string candidate = parent + u"\\" + entry.name;
    if (!location_fits(candidate)) continue;
    bool wanted = entry.directory
                      ? folder_has_pages(v, candidate, u"jpg") || folder_has_pages(v, candidate, u"jpeg")
                      : is_archive_name(entry.name);
    if (wanted) d.insert_item(ctl::sibling_list, next++, candidate);
  }
  sort_sibling_list(v);
}

void show_folder_menu(Viewer& v) {
  auto& s = v.state;
  auto& d = v.dialog;
  s.list_count = d.item_count(ctl::sibling_list);
  std::u16string current = d.text(ctl::path_box);
  std::vector<platform::MenuItem> items;
  items.push_back({kFolderChangeTitleId, u"FolderChange", false});
  for (int i = 0; i < s.list_count; ++i) {
    std::u16string sibling = d.item_text(ctl::sibling_list, i);
    items.push_back({kSiblingMenuBase + i, last_component(sibling), sibling == current});
  }
  int choice = v.platform.host ? v.platform.host->track_popup_menu(items) : 0;
  v.repaint();
  if (choice != 0) command(v, choice);
}

}  // namespace zeb
