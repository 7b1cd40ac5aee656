#pragma once
// Folder browsing: the current location, its folder and page lists, the
// folder history lookup and the sibling locations.
#include <cstddef>
#include <string>
#include <string_view>

#include "core/viewer.h"

namespace zeb {
void open_location(Viewer& v);
void build_sibling_list(Viewer& v);
bool folder_has_pages(const platform::Storage& storage, const std::u16string& folder, const std::u16string& extension);
// LastDir moved to the folder-list entry that is selected ("<..>" goes up);
// then the location is opened and shown in the path box.
void enter_selected_entry(Viewer& v);
// Opens path as the location and shows its page (sorted first when
// sorting on change is on).
void change_location(Viewer& v, const std::u16string& path);
// The sibling after or before the current location, wrapping at both ends.
void next_sibling(Viewer& v);
void previous_sibling(Viewer& v);

// Name classes and path rules.
bool is_page_name(std::u16string_view name);
bool is_archive_name(std::u16string_view name);
std::u16string child_path(const std::u16string& path, const std::u16string& name);
std::u16string parent_path(const std::u16string& path);

// Location paths live in buffers of 260 UTF-16 units with the terminator;
// a path that would not fit is neither entered nor listed.
constexpr std::size_t kMaxLocationUnits = 260;
bool location_fits(std::u16string_view path);
}  // namespace zeb
