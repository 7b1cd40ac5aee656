// Opening a location: the folder history lookup, the folder and page lists,
// and entering the selected folder-list entry.
#include "app/open_location.h"

#include <algorithm>
#include <cstdint>

#include "app/page_steps.h"
#include "app/panels.h"
#include "core/control_ids.h"
#include "image/kept_pages.h"
#include "image/page_loader.h"
#include "image/read_ahead.h"
#include "sources/archive.h"
#include "sources/names.h"
#include "sources/sorting.h"
#include "view/geometry.h"

namespace zeb {

namespace {

const std::u16string kUpEntry = u"<..>";

// Moves the pair of LastDir to the front of the folder history and takes its
// page name as the page to resume at. True when the location was found.
bool look_up_history(Viewer& v, int count) {
  auto& s = v.state;
  auto& d = v.dialog;
  for (int i = 0; i + 1 < count; i += 2) {
    if (d.item_text(ctl::folder_history, i) != s.LastDir) continue;
    s.LastFName = d.item_text(ctl::folder_history, i + 1);
    d.delete_item(ctl::folder_history, i);
    d.delete_item(ctl::folder_history, i);
    d.insert_item(ctl::folder_history, 0, s.LastDir);
    d.insert_item(ctl::folder_history, 1, s.LastFName);
    s.scan_first_match = 1;
    return true;
  }
  return false;
}

// Keeps the first MAX_BLOG pairs of the history (count as it was before the
// lookup, which does not change it).
void trim_history(Viewer& v, int count) {
  std::int64_t keep_items = 2 * static_cast<std::int64_t>(std::max(v.state.MAX_BLOG, 0));
  if (keep_items >= count) return;
  // Whole pairs go, in one removal: an odd last item stays.
  const std::int64_t pairs = count / 2 - keep_items / 2;
  if (pairs > 0) v.dialog.delete_items(ctl::folder_history, static_cast<int>(keep_items), static_cast<int>(2 * pairs));
}

void note_resume_match(ViewerState& s, const std::u16string& name, int position) {
  if (s.scan_first_match == 1 && name == s.LastFName) {
    s.scan_first_match = 0;
    s.resume_index = position;
  }
}

// Lists LastDir: subfolders and archives into the folder list after "<..>",
// pages into the page list, each in the order of the directory search.
void list_folder(Viewer& v) {
  auto& s = v.state;
  auto& d = v.dialog;
  int folder_pos = 1;
  int page_pos = 0;
  for (const auto& entry : v.platform.storage.find(s.LastDir + u"\\*.*")) {
    if (!location_fits(child_path(s.LastDir, entry.name))) continue;
    if (entry.directory || is_archive_name(entry.name)) {
      d.insert_item(ctl::folder_list, folder_pos++, entry.name);
    } else if (is_page_name(entry.name)) {
      d.insert_item(ctl::page_list, page_pos, entry.name);
      note_resume_match(v.state, entry.name, page_pos);
      ++page_pos;
    }
  }
}

// A location without pages shows none: no preview of a page from the
// location before, and a status line that counts no pages.
void show_no_pages(Viewer& v) {
  free_page_bitmaps(v.window);
  v.dialog.set_text(ctl::status_line, status_text(v, -1));
  v.repaint();
}

}  // namespace

void enter_selected_entry(Viewer& v) {
  auto& s = v.state;
  auto& d = v.dialog;
  int selected = d.selection(ctl::folder_list);
  if (selected >= 0) {
    std::u16string name = d.item_text(ctl::folder_list, selected);
    std::u16string target = name == kUpEntry ? parent_path(s.LastDir) : child_path(s.LastDir, name);
    if (location_fits(target)) s.LastDir = target;
  }
  open_location(v);
  d.set_text(ctl::path_box, s.LastDir);
}

void open_location(Viewer& v) {
  auto& s = v.state;
  auto& d = v.dialog;
  cancel_read_ahead(v.window);
  // Another location (or this one listed anew): nothing shown so far is
  // kept for it.
  drop_page_behind(v.window);
  forget_shown_page(v.window);
  s.page_index = 0;
  s.folder_scan = 1;
  s.wrap_pause_ticks = 0;  // a new listing ends the pause of a wrap
  d.show(ctl::focus_sink, true);

  int history_count = d.item_count(ctl::folder_history);
  bool found = look_up_history(v, history_count);
  if (!found) s.LastFName.clear();
  trim_history(v, history_count);

  d.clear_items(ctl::folder_list);
  d.clear_items(ctl::page_list);
  d.clear_items(ctl::archive_offsets);
  s.resume_index = 0;
  d.insert_item(ctl::folder_list, 0, kUpEntry);
  if (is_archive_name(s.LastDir)) {
    list_archive(v);
    s.archive_mode = 1;
  } else {
    s.archive_mode = 0;
    list_folder(v);
  }
  d.set_range(ctl::page_slider, 0, d.item_count(ctl::page_list) - 1);

  d.set_focus(ctl::focus_sink);
  d.show(ctl::focus_sink, false);
  s.folder_scan = 0;
  if (page_count(d) == 0) show_no_pages(v);
  turn_page(v, found ? s.resume_index : 0);
  // Only the remembered page is the reader's; a first page (or a random
  // pick) shown by default is not.
  s.page_current = found && s.scan_first_match == 0 && s.page_index == s.resume_index ? 1 : 0;
}

void list_archive(Viewer& v) {
  auto& s = v.state;
  auto& d = v.dialog;
  free_page_bitmaps(v.window);
  platform::FilePtr file = v.platform.storage.open_read(s.LastDir);
  if (!file) return;
  const std::vector<ArchiveEntry> entries = list_archive_pages(file.get());
  file.reset();
  for (int k = 0; k < static_cast<int>(entries.size()); ++k) {
    const ArchiveEntry& entry = entries[k];
    d.insert_item(ctl::page_list, k, entry.name);
    if (s.scan_first_match == 1 && entry.name == s.LastFName) {
      s.scan_first_match = 0;
      s.resume_index = k;
    }
    d.insert_item(ctl::archive_offsets, k, archive_offset_item(entry));
  }
}

}  // namespace zeb
