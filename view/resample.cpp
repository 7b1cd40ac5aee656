// Placeholder until the transforms land.
#include "view/resample.h"
namespace zeb {
void resample_page(Viewer&, int, int, int) {}
ResampleResult resample(const platform::Bitmap&, int, int, int, int, int, int, int) { return {}; }
}
