#pragma once
// The names of page sources: which names are pages and archives, and the
// rules of location paths.
#include <cstddef>
#include <string>
#include <string_view>

#include "core/viewer.h"

namespace zeb {
// Name classes and path rules.
// The endings of page names, without the dot, matched with A-Z lower-cased.
constexpr std::u16string_view kPageEndings[] = {u"jpg", u"jpeg"};
bool is_page_name(std::u16string_view name);
bool is_archive_name(std::u16string_view name);
std::u16string child_path(const std::u16string& path, const std::u16string& name);
std::u16string parent_path(const std::u16string& path);

// A location path longer than platform::kMaxLocationUnits (it would not fit
// its buffer with the terminator) is neither entered nor listed.
bool location_fits(std::u16string_view path);
}  // namespace zeb
