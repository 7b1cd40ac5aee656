#pragma once
// The order in which the directory search returns names: the order a reader
// expects ("2.jpg" before "10.jpg", "Vol 9" before "Vol 10").
#include <string>
#include <string_view>

namespace zeb::platform {

// Compares host names (UTF-8 bytes): letters A-Z without regard to case,
// runs of decimal digits by their value, every other byte by its value;
// names that tie that way ("01" and "1", "a" and "A") are ordered by their
// bytes, so the order is total.
bool natural_less(std::string_view a, std::string_view b);

// A key whose byte order is natural_less's order up to its tie: a before b
// exactly when natural_key(a) < natural_key(b), or the keys are equal and
// a < b. Sorting many names on keys made once costs less than comparing
// them loosely again and again.
std::string natural_key(std::string_view name);

}  // namespace zeb::platform
