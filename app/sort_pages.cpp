// Sorting the page list and the sibling list in place: a sort drops the
// page read ahead, as its position may change.
#include "app/sort_pages.h"

#include <algorithm>

#include "core/control_ids.h"
#include "image/kept_pages.h"
#include "image/read_ahead.h"
#include "sources/sorting.h"

namespace zeb {

int sort_page_list(Viewer& v, bool descending) {
  cancel_read_ahead(v.window);
  drop_page_behind(v.window);
  std::vector<int> order = sorted_order(v.dialog.items(ctl::page_list), descending);
  apply_order(v.dialog, ctl::page_list, order);
  if (v.state.archive_mode == 1) apply_order(v.dialog, ctl::archive_offsets, order);
  auto moved = std::find(order.begin(), order.end(), v.state.page_index);
  return moved == order.end() ? -1 : static_cast<int>(moved - order.begin());
}

void sort_sibling_list(Viewer& v) {
  apply_order(v.dialog, ctl::sibling_list, sorted_order(v.dialog.items(ctl::sibling_list), false));
}

void request_sort(Viewer& v, bool descending) {
  v.dialog.set_text(ctl::status_line, descending ? u"降順でソート中" : u"昇順でソート中");
  v.state.SO_CHF = descending ? 1 : 0;
  v.state.sort_request = descending ? 2 : 1;
}

}  // namespace zeb
