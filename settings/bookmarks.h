#pragma once
// The bookmark file auto_bk.dat: the folder history (control 1100) carried
// from one run to the next, one list item per line ended by CR LF, in CP932
// (or in UTF-8 when CP932 cannot hold an item).
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/viewer.h"

namespace zeb {

// Start-up: fills the folder history from the file, or creates the file
// (empty) when it does not exist yet. Returns the bytes the file holds now
// (those read, or those written), or nullopt when that is not known.
std::optional<std::string> read_bookmarks(Viewer& v);
// The bytes a save writes at this moment: the whole folder history. Reads only.
std::string bookmark_bytes(const platform::Dialog& d);
// Confirmed exit: writes bookmark_bytes in place of the file. Returns whether
// the file holds them; on failure the previous file stays as it was.
bool write_bookmarks(Viewer& v);

// The items of a bookmark file's bytes. Lines are read in pieces of at most
// 4095 bytes, as the line buffer of 4096 bytes takes them, so a longer line
// becomes several items. A file starting with the UTF-8 byte order mark is
// UTF-8, its pieces half as long again and never split inside a character.
std::vector<std::u16string> parse_bookmarks(std::string_view bytes);
// The file's bytes for the items: each converted to CP932, cut to fit the
// 4096-byte line buffer together with CR LF and a terminating zero. When an
// item does not fit CP932, the whole file is UTF-8 behind the byte order
// mark instead, each item cut to half as long again.
std::string format_bookmarks(const std::vector<std::u16string>& items);

}  // namespace zeb
