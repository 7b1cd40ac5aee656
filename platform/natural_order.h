#pragma once
// The order in which the directory search returns names: the order a reader
// expects ("2.jpg" before "10.jpg", "Vol 9" before "Vol 10").
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace zeb::platform {

// Compares host names (UTF-8 bytes): letters A-Z without regard to case,
// runs of decimal digits by their value, every other byte by its value;
// names that tie that way ("01" and "1", "a" and "A") are ordered by their
// bytes, so the order is total.
bool natural_less(std::string_view a, std::string_view b);

// The key natural_less compares first: its byte order is the order above up
// to the tie, which the names' own bytes then break. Sorting many names on
// keys made once costs less than making them again for every comparison.
std::string natural_key(std::string_view name);

// The positions of the names taken in natural_less order, each key made
// once. Names that compare equal (the same bytes) keep their given order.
std::vector<std::size_t> natural_order(const std::vector<std::string_view>& names);

}  // namespace zeb::platform
