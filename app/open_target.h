#pragma once
// Opening what a reader names from outside the viewer: a folder, an archive
// or a page file given on the command line, or handed over by a later start
// of the viewer to the one already running.
#include <optional>
#include <string>

#include "core/viewer.h"

namespace zeb {

struct OpenTarget {
  std::u16string location;  // a folder or an archive
  std::u16string page;      // a page of that folder to show, or empty
};

// What a host path names: a folder, an archive, or a page file (its folder
// and its name). nullopt when it is none of these or lies outside the
// storage root; `why` then says which, for the reader.
std::optional<OpenTarget> open_target_of(const platform::Storage& storage, const std::string& host_path,
                                         std::string& why);

// Selects the named page of the open location in the page list and shows
// it in the page view, as a double-click on it would. False when the list
// holds no page of that name.
bool show_named_page(Viewer& v, const std::u16string& name);

// A path handed over by a later start (absolute, links resolved). Leaves
// the page view and the settings panels as Back does, opens the location
// as a move to another location does, and shows a named page. A path
// outside the storage root, or one that names nothing to open, is ignored.
void open_handed_over(Viewer& v, const std::string& host_path);

}  // namespace zeb
