#pragma once
// How the controls answer input, over the dialog model alone: buttons click
// on release, check boxes and radio buttons toggle themselves, lists select
// the item under the stylus, combos open and choose from their drop-down,
// sliders move their thumb, edits take the focus and the typing; the focused
// list moves its selection by key, and the wheel scrolls lists and open
// drop-downs. Each answer says what happened as a value; the dialog's owner
// routes the notification and draws the controls anew.
#include <optional>

#include "widgets/dialog.h"

namespace zeb::platform {

// The notifications a control sends its owner.
enum class Notify { click, dblclick, selchange, scroll, setfocus };

// What a control did with one input.
struct Outcome {
  int control = 0;               // the control that answered
  std::optional<Notify> notify;  // what it tells its owner, if anything
  bool redraw = false;           // its look may have changed: draw the window anew
};

// A click by program or by the stylus: a check box toggles, a radio button
// checks itself and clears the other radio buttons of its group (from a
// radio button that starts a group to the next one), then the click.
Outcome click_control(Dialog& d, int id);
// Selects an item of a list or combo, with the selection change.
Outcome select_item(Dialog& d, int id, int index);

// The stylus on a control: the press closes any other open drop-down, a
// move while it is held drags a slider's thumb, the release clicks a button
// pressed before when it ends inside it, and a check box or radio button.
Outcome press_control(Dialog& d, int id, int px, int py);
Outcome release_control(Dialog& d, int id, int px, int py);
Outcome drag_control(Dialog& d, int id, int px, int py);

// A key for the focused control. An edit (and the text field of an editable
// combo) takes typed characters and backspace; a list or combo moves its
// selection up or down by one, stopping at its ends.
enum class Key { up, down, backspace, character, other };
Outcome key_to_focus(Dialog& d, Key key, char16_t ch = 0);
// True when the focused control is a shown edit or editable combo, which
// keeps the keys typed into it.
bool focus_takes_text(const Dialog& d);

// Wheel steps (positive = turned away from the reader) scroll by
// kWheelRows list rows a step, towards the top for positive steps.
constexpr int kWheelRows = 3;
// An open drop-down under the point scrolls; redraw tells whether one was there.
Outcome wheel_drop_down(Dialog& d, int px, int py, int steps);
// The list box under the point scrolls; redraw tells whether one was there.
Outcome wheel_list(Dialog& d, int px, int py, int steps);
bool any_drop_down_open(const Dialog& d);
// Closes every open drop-down.
void close_drop_downs(Dialog& d);

}  // namespace zeb::platform
