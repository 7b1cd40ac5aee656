#pragma once
// The sibling folder list (folders with pages and archives beside the
// current location) and the moves between siblings.
#include <string>

#include "core/viewer.h"

namespace zeb {
void build_sibling_list(Viewer& v);
bool folder_has_pages(const platform::Storage& storage, const std::u16string& folder, const std::u16string& extension);
// Opens path as the location and shows its page (sorted first when
// sorting on change is on).
void change_location(Viewer& v, const std::u16string& path);
// The sibling after or before the current location, wrapping at both ends.
void next_sibling(Viewer& v);
void previous_sibling(Viewer& v);
}  // namespace zeb
