// Loading a page into the main window: the folder history records it, the
// slide show's wait is re-read from its field, the page read ahead is taken
// when it is the same file (else the page is decoded here), and the view
// geometry and start position follow.
#include "app/load_page.h"

#include <optional>
#include <string_view>
#include <utility>

#include "app/view_during_decode.h"
#include "core/codes.h"
#include "core/control_ids.h"
#include "host/file_identity.h"
#include "host/files.h"
#include "host/text.h"
#include "image/kept_pages.h"
#include "image/page_loader.h"
#include "image/read_ahead.h"
#include "view/geometry.h"
#include "view/resample.h"

namespace zeb {
namespace {

constexpr int kValueBytes = 255;  // decimal fields are read from at most this many bytes

// Step of the folder history: the list starts with the current folder and
// page; the previous pair of the same folder is replaced.
void record_in_folder_history(Viewer& v) {
  const ViewerState& s = v.state;
  if (v.dialog.item_text(ctl::folder_history, 0) == s.LastDir) {
    v.dialog.delete_item(ctl::folder_history, 0);
    v.dialog.delete_item(ctl::folder_history, 0);
  }
  if (!s.LastFName.empty()) {
    v.dialog.insert_item(ctl::folder_history, 0, s.LastDir);
    v.dialog.insert_item(ctl::folder_history, 1, s.LastFName);
  }
}

// Decimal value of a control's text as the byte-oriented settings read it.
int decimal_value(std::u16string_view text) {
  return text::parse_int(std::string_view(text::to_cp932(text)).substr(0, kValueBytes));
}

// Puts a decoded page in place and prepares its view: zoom mode, then the
// clamp of the start position and the halving for a centred start.
void show_decoded_page(Viewer& v, DecodedPage page) {
  v.window.page_bitmap = std::move(page.bitmap);
  v.window.page_width = page.width;
  v.window.page_height = page.height;
  compute_view_geometry(v);
  drop_made_view(v.window);
  finish_start_position(v);
}

// The page of `key`: kept from an earlier load, read ahead, or decoded now
// with its view made while it is decoded.
DecodedPage obtain_page(Viewer& v, const PageKey& key, std::FILE* file,
                        const std::optional<platform::FileIdentity>& identity) {
  std::unique_ptr<platform::Bitmap> spare;
  DecodedPage page = take_kept_page(v.window, key, identity, spare);
  if (page.bitmap) {
    cancel_read_ahead(v.window);
    return page;
  }
  // Taking the read-ahead may wait for its decode: no spare is held meanwhile.
  if (read_ahead_requested(v.window, key)) spare.reset();
  page = take_read_ahead(v.window, key, file);
  if (page.bitmap) return page;
  count_decoded_page(v.window);
  DecodeLimits limits;
  limits.spare = &spare;
  if (!v.platform.view_while_decoding) return decode_page(file, key, limits);
  ViewDuringDecode view(view_settings(v), view_helper(v.window));
  page = decode_page(file, key, limits, &view);
  if (page.bitmap) view.hand_over(v.window, *page.bitmap);
  return page;
}

}  // namespace

int load_page(Viewer& v, const std::u16string& path) {
  ViewerState& s = v.state;
  if (s.folder_scan == 1 || s.wrap_pause_ticks == 1) return -1;
  s.LastFName = v.dialog.item_text(ctl::page_list, s.page_index);
  if (s.panel_mode == PanelMode::page_view) record_in_folder_history(v);
  const bool archive = s.archive_mode == 1;
  if (archive && v.dialog.item_count(ctl::page_list) == 0) {
    free_page_bitmaps(v.window);
    return -1;
  }
  s.page_current = 1;
  const PageKey key = page_key(v, s.page_index, path);
  s.SlideShow = decimal_value(v.dialog.text(ctl::wait_field));
  set_shown_page_aside(v.window, v.platform.keep_pages);
  set_start_position(v.state);
  platform::FilePtr file = v.platform.storage.open_read(key.location);
  if (!file) {
    settle_kept_pages(v.window);
    cancel_read_ahead(v.window);
    return -1;
  }
  const std::optional<platform::FileIdentity> identity = platform::identify_file(file.get());
  DecodedPage page = obtain_page(v, key, file.get(), identity);
  settle_kept_pages(v.window);
  // A page read from a file that changed while it was read is never kept.
  if (page.bitmap && identity && platform::identify_file(file.get()) == identity)
    note_shown_page(v.window, key, *identity);
  if (page.bitmap) {
    show_decoded_page(v, std::move(page));
  } else {
    // The page is abandoned: the view stays without a page.
    v.window.page_width = 0;
    v.window.page_height = 0;
  }
  return 0;
}

}  // namespace zeb
