#pragma once
// The browser's controls: the folder and page lists, the page slider, the
// sort-on-change box.
#include "core/viewer.h"

namespace zeb {
void on_folder_list_selchange(Viewer& v);
void on_folder_list_dblclk(Viewer& v);
// Opens the selected page full screen.
void on_page_list_dblclk(Viewer& v);
void on_page_list_selchange(Viewer& v);
// Horizontal scroll notification of the page slider.
void on_slider_scroll(Viewer& v);
void on_auto_sort_clicked(Viewer& v);
}  // namespace zeb
