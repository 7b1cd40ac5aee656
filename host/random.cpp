#include "host/random.h"

#include <cstdlib>

namespace zeb::platform {

int c_library_random() { return std::rand(); }

}  // namespace zeb::platform
