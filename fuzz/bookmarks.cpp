// Bookmark file: the input is auto_bk.dat. Its items, once written, must
// read back as themselves. The viewer then starts with the file (the history
// is looked up and trimmed when the location opens), reads a page and saves
// at the exit question.
#include <cstdlib>

#include "fuzz/fuzz_support.h"
#include "settings/bookmarks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  // The first reading may replace what the code page cannot hold; from then
  // on, writing and reading must keep every item and its place.
  const auto items = zeb::parse_bookmarks(zeb::format_bookmarks(zeb::parse_bookmarks(bytes)));
  if (zeb::parse_bookmarks(zeb::format_bookmarks(items)) != items) std::abort();

  zeb::fuzz::reset_settings();
  zeb::fuzz::write_scratch_file(zeb::fuzz::settings_path("auto_bk.dat"), bytes);
  // The history is consulted for the location the viewer opens: take it
  // from the file's first line, as a remembered location would be.
  const std::string_view first = bytes.substr(0, bytes.find_first_of("\r\n"));
  zeb::fuzz::write_scratch_file(zeb::fuzz::settings_path("zeb.cfg"),
                                "x=0\r\nx=0\r\nLastDir=" + std::string(first) + "\r\n");
  zeb::fuzz::FuzzViewer fv;
  zeb::fuzz::run_session(fv.viewer);
  return 0;
}
