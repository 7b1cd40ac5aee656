// Placeholder until screen rendering lands.
#include "image/render.h"
namespace zeb { void paint(Viewer&) {} }
