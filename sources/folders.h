#pragma once
// Folder browsing: the current location, its folder and page lists, the
// folder history lookup, siblings and the "FolderChange" menu.
#include <cstddef>
#include <string>
#include <string_view>

#include "core/viewer.h"

namespace zeb {
void open_location(Viewer& v);
void build_sibling_list(Viewer& v);
bool folder_has_pages(Viewer& v, const std::u16string& folder, const std::u16string& extension);
void show_folder_menu(Viewer& v);

// Control handlers.
void on_folder_list_selchange(Viewer& v);
void on_folder_list_dblclk(Viewer& v);
// Opens the selected page full screen (also the OK action in the browser).
void on_page_list_dblclk(Viewer& v);
void on_page_list_selchange(Viewer& v);

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
