// Natural name order for the directory search.
#include "host/natural_order.h"

#include <algorithm>
#include <cstddef>

#include "host/text.h"

namespace zeb::platform {
namespace {

bool is_digit(char c) { return c >= '0' && c <= '9'; }

unsigned char folded(char c) { return static_cast<unsigned char>(text::ascii_lower(static_cast<unsigned char>(c))); }

// The digit run starting at `at`, without its leading zeros; `at` moves
// past the whole run.
std::string_view digit_run(std::string_view name, std::size_t& at) {
  std::size_t start = at;
  while (at < name.size() && is_digit(name[at])) ++at;
  std::size_t first = start;
  while (first < at && name[first] == '0') ++first;
  return name.substr(first, at - first);
}

}  // namespace

std::string natural_key(std::string_view name) {
  std::string key;
  key.reserve(name.size() + 8);
  std::size_t i = 0;
  while (i < name.size()) {
    if (!is_digit(name[i])) {
      key.push_back(static_cast<char>(folded(name[i++])));
      continue;
    }
    const std::string_view run = digit_run(name, i);
    // Against any other byte a run compares as any digit does, so one digit
    // stands for it; then its length, so that the longer number is the
    // larger; then its digits.
    key.push_back('0');
    key.push_back(static_cast<char>(run.size() >> 8));
    key.push_back(static_cast<char>(run.size() & 0xFF));
    key.append(run);
  }
  return key;
}

bool natural_less(std::string_view a, std::string_view b) {
  if (const int c = natural_key(a).compare(natural_key(b))) return c < 0;
  return a < b;
}

std::vector<std::size_t> natural_order(const std::vector<std::string_view>& names) {
  std::vector<std::string> keys(names.size());
  std::vector<std::size_t> order(names.size());
  for (std::size_t i = 0; i < names.size(); ++i) {
    keys[i] = natural_key(names[i]);
    order[i] = i;
  }
  // Indexes move, not strings; the stable sort keeps equal names in place.
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    if (const int c = keys[a].compare(keys[b])) return c < 0;
    return names[a] < names[b];
  });
  return order;
}

}  // namespace zeb::platform
