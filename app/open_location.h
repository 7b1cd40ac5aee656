#pragma once
// Opening a location: the folder history lookup, the folder and page lists
// (an archive's included) and the page to show first.
#include "core/viewer.h"

namespace zeb {
void open_location(Viewer& v);
// LastDir moved to the folder-list entry that is selected ("<..>" goes up);
// then the location is opened and shown in the path box.
void enter_selected_entry(Viewer& v);
// The archive listing of open_location: fills the page and offset lists,
// the pages in natural order (the order of a folder's pages).
void list_archive(Viewer& v);
}  // namespace zeb
