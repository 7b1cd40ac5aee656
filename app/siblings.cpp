// The sibling folder list (folders with pages and archives beside the
// current location) and the moves between siblings.
#include "app/siblings.h"

#include <algorithm>

#include "app/open_location.h"
#include "app/page_steps.h"
#include "app/sort_pages.h"
#include "core/control_ids.h"
#include "sources/names.h"

namespace zeb {

namespace {

// Index of the sibling after (+1) or before (-1) the one the path box
// names, wrapping at both ends; the first sibling when none matches.
int neighbour_sibling(const platform::Dialog& d, int direction) {
  int count = d.item_count(ctl::sibling_list);
  std::u16string current = d.text(ctl::path_box);
  for (int i = 0; i < count; ++i) {
    if (d.item_text(ctl::sibling_list, i) != current) continue;
    int target = i + direction;
    if (target >= count) return 0;
    if (target < 0) return count - 1;
    return target;
  }
  return 0;
}

}  // namespace

bool folder_has_pages(const platform::Storage& storage, const std::u16string& folder, const std::u16string& extension) {
  return !storage.find(folder + u"\\*." + extension).empty();
}

void build_sibling_list(Viewer& v) {
  auto& d = v.dialog;
  d.clear_items(ctl::sibling_list);
  std::u16string parent = parent_path(d.text(ctl::path_box));
  int next = 0;
  for (const auto& entry : v.platform.storage.find(parent + u"\\*.*")) {
    std::u16string candidate = parent + u"\\" + entry.name;
    if (!location_fits(candidate)) continue;
    const auto holds = [&](std::u16string_view ending) {
      return folder_has_pages(v.platform.storage, candidate, std::u16string(ending));
    };
    bool wanted = entry.directory ? std::ranges::any_of(kPageEndings, holds) : is_archive_name(entry.name);
    if (wanted) d.insert_item(ctl::sibling_list, next++, candidate);
  }
  sort_sibling_list(v);
}

void next_sibling(Viewer& v) {
  if (v.dialog.item_count(ctl::sibling_list) == 0) return;
  change_location(v, v.dialog.item_text(ctl::sibling_list, neighbour_sibling(v.dialog, +1)));
}

void previous_sibling(Viewer& v) {
  if (v.dialog.item_count(ctl::sibling_list) == 0) return;
  change_location(v, v.dialog.item_text(ctl::sibling_list, neighbour_sibling(v.dialog, -1)));
}

void change_location(Viewer& v, const std::u16string& path) {
  auto& s = v.state;
  s.LastDir = path;
  v.dialog.set_text(ctl::path_box, path);
  s.page_index = 0;
  open_location(v);
  if (s.SO_CH == 1) {
    request_sort(v, s.SO_CHF != 0);
  } else {
    show_page_again(v);
  }
}

}  // namespace zeb
