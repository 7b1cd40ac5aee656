// The browser's control handlers. A choice in the page list or on the
// slider only names the page: the tick's delayed jump loads it.
#include "app/browser_handlers.h"

#include "app/open_location.h"
#include "app/page_steps.h"
#include "app/siblings.h"
#include "app/sort_pages.h"
#include "core/control_ids.h"
#include "image/read_ahead.h"

namespace zeb {

void on_folder_list_selchange(Viewer& v) {
  enter_selected_entry(v);
  build_sibling_list(v);
  if (v.state.SO_CH == 1) {
    request_sort(v, v.state.SO_CHF != 0);
  } else {
    show_page_again(v);
  }
}

void on_folder_list_dblclk(Viewer& v) { enter_selected_entry(v); }

void on_page_list_dblclk(Viewer& v) { enter_page_view(v); }

void on_page_list_selchange(Viewer& v) {
  auto& s = v.state;
  int selected = v.dialog.selection(ctl::page_list);
  if (selected < 0) return;
  cancel_read_ahead(v.window);
  s.page_index = selected;
  v.dialog.set_text(ctl::status_line, status_text(v, s.page_index));
  s.select_delay = s.select_delay_ticks;
}

void on_slider_scroll(Viewer& v) {
  auto& s = v.state;
  auto& d = v.dialog;
  if (page_count(v.dialog) == 0) return;
  cancel_read_ahead(v.window);
  s.page_index = d.pos(ctl::page_slider);
  s.select_delay = s.select_delay_ticks;
  d.set_text(ctl::status_line, status_text(v, s.page_index));
  d.set_pos(ctl::page_slider, s.page_index);
}

void on_auto_sort_clicked(Viewer& v) {
  v.state.SO_CH = v.state.SO_CH ? 0 : 1;
  v.dialog.set_check(ctl::auto_sort_check, v.state.SO_CH == 1);
}

}  // namespace zeb
