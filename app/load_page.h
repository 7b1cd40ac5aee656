#pragma once
// Loading a page: the folder history, the decode (or the page read ahead for
// it) and the page's view geometry.
#include <string>

#include "core/viewer.h"

namespace zeb {
// 0 when the load has run (even if decoding was abandoned), -1 when it
// refused or could not open the file.
int load_page(Viewer& v, const std::u16string& path);
}  // namespace zeb
