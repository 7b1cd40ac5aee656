#pragma once
// The viewer's random numbers: the C library's rand(), values 0 to RAND_MAX.
// The viewer never seeds it, so every run draws the same sequence. A test
// replaces the source to choose the values the viewer draws.
#include <functional>

namespace zeb::platform {

// The C library's generator, in whatever state it stands.
int c_library_random();

struct Random {
  std::function<int()> source = c_library_random;
  int next() const { return source(); }
};

}  // namespace zeb::platform
