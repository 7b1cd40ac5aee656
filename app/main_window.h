#pragma once
// Window-level actions of the main window.
#include "core/viewer.h"

namespace zeb {
void ok_action(Viewer& v);
void back_and_exit(Viewer& v);
// Leaves the page view for the browser (back action while viewing).
void leave_viewing(Viewer& v);
void settings_toggle(Viewer& v);
void reapply_full_screen(Viewer& v);
// Moves the window off screen and minimises it; the tick restores it once a
// foreground window exists again.
void minimise_window(Viewer& v);
// Makes the window cover the whole screen, shown, in front.
void full_screen_setup(Viewer& v);
void quit_at_once(Viewer& v);
// Writes the configuration and the bookmarks, then ends the main window: a
// confirmed exit. A settle save under way is waited for first. The window's
// close button and a logout end this way too, without the question.
void save_and_end(Viewer& v);
// Text colour of a control (0x00BBGGRR), or -1 for the default colours.
long long control_colour(int id);
// Re-asserts the window over the whole screen (the top-most sequence).
void reassert_window(Viewer& v);
}  // namespace zeb
