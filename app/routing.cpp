// The routing of control notifications: one table from control id and
// notification to handler.
#include "app/routing.h"

#include "app/browser_handlers.h"
#include "app/key_handlers.h"
#include "app/main_window.h"
#include "app/menus.h"
#include "app/settings_handlers.h"
#include "app/siblings.h"
#include "app/sort_pages.h"
#include "core/control_ids.h"

namespace zeb {
namespace {

using Handler = void (*)(Viewer&);

struct Route {
  int id;
  Notify code;
  Handler handler;
};

template <int Mode>
void mode_radio(Viewer& v) {
  on_mode_radio_clicked(v, Mode);
}
void sort_up(Viewer& v) { request_sort(v, false); }
void sort_down(Viewer& v) { request_sort(v, true); }

const Route kRoutes[] = {
    {ctl::folder_list, Notify::selchange, on_folder_list_selchange},
    {ctl::folder_list, Notify::dblclick, on_folder_list_dblclk},
    {ctl::page_list, Notify::dblclick, on_page_list_dblclk},
    {ctl::page_list, Notify::selchange, on_page_list_selchange},
    {ctl::mode_combo, Notify::selchange, on_mode_combo_changed},
    {ctl::preset_box, Notify::selchange, on_preset_box_changed},
    {ctl::key_action_combo, Notify::selchange, on_key_action_combo_changed},
    {ctl::page_slider, Notify::scroll, on_slider_scroll},
    {ctl::settings_button, Notify::click, settings_toggle},
    {ctl::preset_save, Notify::click, on_preset_save_clicked},
    {ctl::preset_delete, Notify::click, on_preset_delete_clicked},
    {ctl::sort_ascending, Notify::click, sort_up},
    {ctl::sort_descending, Notify::click, sort_down},
    {ctl::slide_show_check, Notify::click, on_slide_show_clicked},
    {ctl::random_check, Notify::click, on_random_clicked},
    {ctl::mode_radio_0, Notify::click, mode_radio<0>},
    {ctl::mode_radio_1, Notify::click, mode_radio<1>},
    {ctl::mode_radio_2, Notify::click, mode_radio<2>},
    {ctl::mode_radio_3, Notify::click, mode_radio<3>},
    {ctl::mode_radio_4, Notify::click, mode_radio<4>},
    {ctl::mode_radio_5, Notify::click, mode_radio<5>},
    {ctl::mode_radio_6, Notify::click, mode_radio<6>},
    {ctl::swap_tap_check, Notify::click, on_swap_tap_clicked},
    {ctl::next_folder, Notify::click, next_sibling},
    {ctl::previous_folder, Notify::click, previous_sibling},
    {ctl::folder_change, Notify::click, show_folder_menu},
    {ctl::quit_button, Notify::click, quit_at_once},
    {ctl::auto_sort_check, Notify::click, on_auto_sort_clicked},
    {ctl::key_settings, Notify::click, on_key_settings_clicked},
    {ctl::key_unbind, Notify::click, on_key_unbind_clicked},
    {ctl::key_save, Notify::click, on_key_save_clicked},
    {ctl::key_reset, Notify::click, on_key_reset_clicked},
    {ctl::full_screen_again, Notify::click, reapply_full_screen},
    {ctl::smooth_check, Notify::click, on_smooth_clicked},
    {ctl::reduction_check, Notify::click, on_reduction_clicked},
    {ctl::auto_rotate_check, Notify::click, on_auto_rotate_clicked},
};

}  // namespace

void notify(Viewer& v, int id, Notify code) {
  for (const Route& route : kRoutes) {
    if (route.id == id && route.code == code) {
      route.handler(v);
      return;
    }
  }
}

}  // namespace zeb
