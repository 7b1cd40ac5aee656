#pragma once
// Shared pieces of the fuzz targets: a FILE over the input bytes, a scratch
// folder that serves both as storage root and as app_dir, and a viewer with
// every control created, pointed at that folder.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

#include "core/viewer.h"
#include "host/files.h"

namespace zeb::fuzz {

// A read-only stream over the bytes (an empty input gives an empty stream).
platform::FilePtr open_bytes(const std::uint8_t* data, std::size_t size);

// A folder of this process, made once and removed at exit. It lies in
// memory where the host offers it, since the settings writers flush to disk.
// It holds one small page "page.jpg".
const std::string& scratch_dir();
// Host path of a file in the scratch folder.
std::string scratch_path(std::string_view name);
// Host path of a file in the scratch folder's settings folder.
std::string settings_path(std::string_view name);
bool write_scratch_file(const std::string& path, std::string_view bytes);
// Empties the settings folder, so no input depends on what an earlier one left.
void reset_settings();

// A viewer whose storage root and app_dir are the scratch folder, with its
// controls created and the browser shown as at the end of start-up.
struct FuzzViewer {
  FuzzViewer();
  platform::Platform platform;
  Viewer viewer;
};

// Shows the page: opens the current location in the page view, then
// computes the view and paints it, as viewing a page does.
void view_current_location(Viewer& v);

// A short reading session: the current location in the page view, a page
// turn, back to the browser, then the exit question answered Yes, which
// saves the configuration and the bookmarks.
void run_session(Viewer& v);

// The settings files a session leaves, as one text for comparison.
std::string saved_settings();

}  // namespace zeb::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);
