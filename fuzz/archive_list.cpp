// Archive listing: the input is a ZIP file's bytes (stored and deflated
// entries, data descriptors, a central directory or none). It is listed from
// memory, then opened as the current location the way the viewer opens an
// archive, and its first pages are loaded from their listed offsets.
#include <algorithm>
#include <cstdlib>

#include "app/main_window.h"
#include "app/page_steps.h"
#include "fuzz/fuzz_support.h"
#include "sources/archive.h"

namespace {

constexpr int kPagesLoaded = 3;

// Every listed entry's data starts inside the archive, a deflated entry's
// data ends there too, and its offset list item gives the same entry back.
// Each deflated entry is read the way the page loader reads it.
void list_from_memory(const std::uint8_t* data, std::size_t size) {
  zeb::platform::FilePtr file = zeb::fuzz::open_bytes(data, size);
  if (!file) return;
  for (const zeb::ArchiveEntry& entry : zeb::list_archive_entries(file.get())) {
    if (entry.data_offset < 30 || static_cast<std::size_t>(entry.data_offset) > size) std::abort();
    if (!entry.deflated) continue;
    if (static_cast<std::size_t>(entry.data_offset) + entry.compressed_size > size) std::abort();
    const zeb::ArchiveEntry back = zeb::archive_entry_of_item(zeb::archive_offset_item(entry));
    if (back.data_offset != entry.data_offset || !back.deflated || back.size != entry.size ||
        back.compressed_size != entry.compressed_size || back.crc != entry.crc)
      std::abort();
    const auto bytes = zeb::read_deflated_entry(file.get(), entry);
    if (bytes && bytes->size() != entry.size) std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  list_from_memory(data, size);
  zeb::fuzz::reset_settings();
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  if (!zeb::fuzz::write_scratch_file(zeb::fuzz::scratch_path("book.zip"), bytes)) return 0;
  zeb::fuzz::write_scratch_file(zeb::fuzz::settings_path("zeb.cfg"),
                                "x=0\r\nx=0\r\nLastDir=\\book.zip\r\n");
  zeb::fuzz::FuzzViewer fv;
  zeb::Viewer& v = fv.viewer;
  zeb::fuzz::view_current_location(v);
  for (int k = 1; k < kPagesLoaded; ++k) zeb::turn_page(v, +1);
  zeb::turn_page(v, -1);
  zeb::back_and_exit(v);
  return 0;
}
