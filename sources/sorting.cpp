// Placeholder until sorting lands.
#include "sources/sorting.h"
namespace zeb {
void request_sort(Viewer&, bool) {}
void sort_page_list(Viewer&, bool) {}
void sort_sibling_list(Viewer&) {}
void on_auto_sort_clicked(Viewer&) {}
std::vector<int> sorted_order(const std::vector<std::u16string>&, bool) { return {}; }
}
