#pragma once
// The pop-up menus of the view panel's toolbar and the browser: they ask the
// host for a choice and route it as a window command.
#include "core/viewer.h"

namespace zeb {
// The "FolderChange" menu of sibling locations (the current one checked).
void show_folder_menu(Viewer& v);
// The menu of presets.
void show_preset_menu(Viewer& v);
// A menu choice as a window command: a preset loads, a sibling opens.
void dispatch_menu_command(Viewer& v, int id);
// A command (1 = OK, 2 = Cancel, pop-up menu identifiers).
void command(Viewer& v, int id);
}  // namespace zeb
