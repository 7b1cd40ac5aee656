#pragma once
// What the controls look like, reduced to two fingerprints, so the front
// ends can repaint after a change the way child windows do: a control whose
// state changed redraws itself, and one shown or hidden repaints the window
// beneath it.
#include <cstddef>

#include "widgets/dialog.h"

namespace zeb::platform {

struct DialogLook {
  std::size_t placement = 0;  // which controls are visible, and where
  std::size_t contents = 0;   // everything else that is drawn
  bool operator==(const DialogLook&) const = default;
};

DialogLook look_of(const Dialog& dialog);

}  // namespace zeb::platform
