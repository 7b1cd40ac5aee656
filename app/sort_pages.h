#pragma once
// Sorting the page list (with the archive offsets) and the sibling list.
#include "core/viewer.h"

namespace zeb {
// Request a sort for the timer: status text, SO_CHF and sort_request.
void request_sort(Viewer& v, bool descending);
// Sorts the page list (and the archive offsets with it); returns the new
// position of the page that stood at page_index, or -1 when page_index lay
// outside the list.
int sort_page_list(Viewer& v, bool descending);
void sort_sibling_list(Viewer& v);
}  // namespace zeb
