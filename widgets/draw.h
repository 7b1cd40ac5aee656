#pragma once
// Drawing of the visible controls onto the screen, after the main window's
// paint, in the dialog's order (the window and script front ends both call it).
// The geometry helpers below are the ones the drawing uses, so the window
// front end hits exactly what the user sees.
#include "widgets/bitmap.h"
#include "widgets/dialog.h"

namespace zeb::platform {

void draw_controls(Bitmap& screen, const Dialog& dialog);

// The control a stylus press at (px, py) goes to, or 0 for the window
// beneath: an open drop-down's list first, then the top-most enabled,
// visible control under the point (controls drawn later lie on top).
int control_at(const Dialog& dialog, int px, int py);

constexpr int kScrollBarWidth = 18;    // pixels, list and drop-down scroll bars
constexpr int kSliderThumbWidth = 20;  // pixels

// Lists (and a combo's open drop-down): rows that fit, the largest useful
// top index, the scroll bar (empty when every item fits), the item under a
// point (-1 when none).
int list_max_top(const Control& list);
Rect list_scroll_bar(const Control& list);
int list_item_at(const Control& list, int px, int py);

// Combo boxes: the drop button of the closed box, and the open drop-down
// rectangle (below the box, or above it when the screen ends first).
Rect combo_button(const Control& combo);
Rect combo_drop_rect(const Control& combo);
int combo_drop_item_at(const Control& combo, int px, int py);

// Slider: the thumb, and the position a thumb centred at px stands for.
Rect slider_thumb(const Control& slider);
int slider_pos_at(const Control& slider, int px);

// Edits: the caret position (UTF-16 units) nearest to px; a focused edit
// shows its text shifted so that the caret stays in view.
int edit_caret_at(const Control& edit, int px, bool focused);

}  // namespace zeb::platform
