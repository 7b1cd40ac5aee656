// Sorting the page list (the archive offsets move alongside) and the sibling
// list by UTF-16 code units, with no case folding and no digit runs.
//
// The order is that of a selection sort which, at each position, takes the
// last of the smallest (or largest) remaining names and exchanges it with
// the name at that position. For equal names this fixes which entry ends
// where, and archives may hold duplicate names with different data, so the
// result is reproduced exactly, in O(n log n): a stable sort ranks the
// names, then the exchanges are replayed with a tree of rank minima over the
// positions instead of rescanning the list at every position.
#include "sources/sorting.h"

#include <algorithm>
#include <climits>
#include <utility>

namespace zeb {

namespace {

// Rank of each name: equal names share a rank; the smallest name has rank
// 0, or the largest one when descending, so both directions pick the
// lowest rank.
std::vector<int> rank_names(const std::vector<std::u16string>& names, bool descending) {
  const int n = static_cast<int>(names.size());
  std::vector<int> by_name(n);
  for (int i = 0; i < n; ++i) by_name[i] = i;
  std::stable_sort(by_name.begin(), by_name.end(), [&](int a, int b) { return names[a] < names[b]; });
  std::vector<int> rank(n);
  int r = 0;
  for (int k = 0; k < n; ++k) {
    if (k > 0 && names[by_name[k]] != names[by_name[k - 1]]) ++r;
    rank[by_name[k]] = r;
  }
  if (descending) {
    for (int& value : rank) value = r - value;
  }
  return rank;
}

// Minimum rank over ranges of list positions, in a complete binary tree
// stored flat (node k has children 2k and 2k + 1; leaves from `size`).
// Placed positions hold INT_MAX so they never win again.
class RankTree {
 public:
  explicit RankTree(const std::vector<int>& rank) {
    while (size_ < static_cast<int>(rank.size())) size_ *= 2;
    node_.assign(2 * size_, INT_MAX);
    std::copy(rank.begin(), rank.end(), node_.begin() + size_);
    for (int k = size_ - 1; k > 0; --k) node_[k] = std::min(node_[2 * k], node_[2 * k + 1]);
  }
  int lowest() const { return node_[1]; }
  // The last position that holds the lowest rank.
  int last_lowest() const {
    int k = 1;
    while (k < size_) k = node_[2 * k + 1] == node_[1] ? 2 * k + 1 : 2 * k;
    return k - size_;
  }
  void set(int position, int rank) {
    int k = position + size_;
    node_[k] = rank;
    for (k /= 2; k > 0; k /= 2) node_[k] = std::min(node_[2 * k], node_[2 * k + 1]);
  }

 private:
  int size_ = 1;
  std::vector<int> node_;
};

}  // namespace

std::vector<int> sorted_order(const std::vector<std::u16string>& names, bool descending) {
  const int n = static_cast<int>(names.size());
  std::vector<int> rank = rank_names(names, descending);
  std::vector<int> at(n);  // original index of the name now at each position
  for (int i = 0; i < n; ++i) at[i] = i;
  RankTree remaining(rank);
  for (int i = 0; i + 1 < n; ++i) {
    int c = remaining.last_lowest();
    if (c != i) {
      remaining.set(c, rank[at[i]]);
      std::swap(at[i], at[c]);
    }
    remaining.set(i, INT_MAX);
  }
  return at;
}

void apply_order(platform::Dialog& d, int id, const std::vector<int>& order) {
  const int n = static_cast<int>(order.size());
  std::vector<int> at(n), where(n);
  for (int i = 0; i < n; ++i) at[i] = where[i] = i;
  for (int k = 0; k < n; ++k) {
    int p = where[order[k]];
    if (p == k) continue;
    d.swap_items(id, k, p);
    int displaced = at[k];
    at[k] = order[k];
    where[order[k]] = k;
    at[p] = displaced;
    where[displaced] = p;
  }
}

}  // namespace zeb
