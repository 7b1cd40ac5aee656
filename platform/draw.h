#pragma once
// Drawing of the visible controls onto the screen, after the main window's
// paint, in the dialog's order (the window and script front ends both call it).
#include "platform/bitmap.h"
#include "platform/dialog.h"

namespace zeb::platform {
void draw_controls(Bitmap& screen, const Dialog& dialog);
}
