#pragma once
// The bookmark file: the folder history carried from one run to the next.
#include "app/viewer.h"

namespace zeb {
void read_bookmarks(Viewer& v);
void write_bookmarks(Viewer& v);
}  // namespace zeb
