#pragma once
// The names of page sources: which names are pages and archives, and the
// rules of location paths.
#include <cstddef>
#include <string>
#include <string_view>

#include "core/viewer.h"

namespace zeb {
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
