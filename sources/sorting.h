#pragma once
// The order of the page list and the sibling list: by UTF-16 code units,
// as the viewer's selection sort leaves equal names.
#include <string>
#include <vector>

#include "core/viewer.h"

namespace zeb {
// The permutation that orders names as the viewer's selection sort does.
std::vector<int> sorted_order(const std::vector<std::u16string>& names, bool descending);
// Brings the items of a list into the given order (order[k] = the index of
// the item that goes to position k) by exchanges, as the list is addressed.
void apply_order(platform::Dialog& d, int id, const std::vector<int>& order);
}  // namespace zeb
