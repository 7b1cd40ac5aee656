#pragma once
// Page steps, entering the page view, the status line and the delayed jump.
#include <string>

#include "core/viewer.h"

namespace zeb {
void turn_page(Viewer& v, int step);
// Where a forward step that passes the last page lands.
enum class Overshoot { to_first, to_last };
// Forward by step (0 reloads the page), guarded against re-entry: random
// order draws the page, the last page wraps to the first, a step past the
// end lands by overshoot. False when no page was turned (a turn under way,
// or no pages). The status line is left to the caller.
bool step_forward(Viewer& v, int step, Overshoot overshoot);
// turn_page(0) for a page the viewer shows again by itself (after an
// opening, or a sort without a current page): whether the page counts as
// the reader's current one stays as it was.
void show_page_again(Viewer& v);
void update_status(Viewer& v);
// "%4d/%4d[%s]" for the given index.
std::u16string status_text(const Viewer& v, int index);
// Page path LastDir + "\" + page list item i.
std::u16string page_path(const Viewer& v, int index);
// Loads page_index (a page load through the loader).
int load_current_page(Viewer& v);
// The number of pages in the page list.
int page_count(const platform::Dialog& d);
// Opens the selected page full screen (the browser's OK action, a double
// click in the page list, a press on the thumbnail); nothing while viewing.
void enter_page_view(Viewer& v);
// The tick step of the delayed jump: counts select_delay down while it is
// above 0 and, on the tick it reaches 0, loads the page chosen last.
void run_delayed_jump(Viewer& v);
// Once a page is shown in the page view: starts reading ahead the page the
// next turn in the last turn's direction will load (none in random order).
void read_ahead_next_turn(Viewer& v);
}  // namespace zeb
