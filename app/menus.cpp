// The window commands: OK, Cancel, and the pop-up menus with what their
// choices do. A choice reaches the window as a command, as any command does:
// a script may answer any identifier, OK and Cancel included.
#include "app/menus.h"

#include <vector>

#include "app/apply_preset.h"
#include "app/main_window.h"
#include "app/siblings.h"
#include "core/control_ids.h"
#include "view/geometry.h"

namespace zeb {
namespace {

std::u16string last_component(const std::u16string& path) {
  std::size_t cut = path.rfind(u'\\');
  return cut == std::u16string::npos ? path : path.substr(cut + 1);
}

}  // namespace

void show_folder_menu(Viewer& v) {
  auto& s = v.state;
  auto& d = v.dialog;
  s.list_count = d.item_count(ctl::sibling_list);
  std::u16string current = d.text(ctl::path_box);
  std::vector<platform::MenuItem> items;
  items.push_back({ctl::folder_menu_title, u"FolderChange", false});
  for (int i = 0; i < s.list_count; ++i) {
    std::u16string sibling = d.item_text(ctl::sibling_list, i);
    items.push_back({ctl::sibling_menu_first + i, last_component(sibling), sibling == current});
  }
  int choice = v.platform.host ? v.platform.host->track_popup_menu(items) : 0;
  v.repaint();
  if (choice != 0) command(v, choice);
}

void show_preset_menu(Viewer& v) {
  const int count = v.dialog.item_count(ctl::preset_box);
  v.state.list_count = count;
  std::vector<platform::MenuItem> items{{ctl::preset_menu_heading, u"ZoomMode", false}};
  for (int i = 0; i < count; ++i)
    items.push_back({ctl::preset_menu_first + i, v.dialog.item_text(ctl::preset_box, i), false});
  const int choice = v.platform.host ? v.platform.host->track_popup_menu(items) : 0;
  v.repaint();
  // The heading's identifier lies outside the accepted preset range, so
  // choosing it reaches the window as a command with no effect.
  if (choice != 0) command(v, choice);
}

void dispatch_menu_command(Viewer& v, int id) {
  auto& s = v.state;
  auto& d = v.dialog;
  if (id >= ctl::preset_menu_first && id <= ctl::preset_menu_first - 1 + s.list_count) {
    d.set_selection(ctl::preset_box, id - ctl::preset_menu_first);
    run_preset(v, PresetMode::load);
    compute_view_geometry(v);
  }
  // A command naming a sibling the list no longer holds is ignored rather
  // than taken as the empty path (the root).
  int sibling = id - ctl::sibling_menu_first;
  if (id >= ctl::sibling_menu_first && id <= ctl::sibling_menu_first - 1 + s.list_count &&
      sibling < d.item_count(ctl::sibling_list)) {
    change_location(v, d.item_text(ctl::sibling_list, sibling));
  }
}

void command(Viewer& v, int id) {
  dispatch_menu_command(v, id);
  if (id == ctl::cmd_ok) ok_action(v);
  if (id == ctl::cmd_cancel) back_and_exit(v);
}

}  // namespace zeb
