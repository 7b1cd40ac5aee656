// Placeholder until the controls are drawn.
#include "platform/draw.h"
namespace zeb::platform { void draw_controls(Bitmap&, const Dialog&) {} }
