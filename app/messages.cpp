// Message routing of the main window: one table from control id and
// notification to handler, the command path, and the entry points through
// which both front ends deliver stylus, key and timer messages.
#include "app/messages.h"

#include "app/browser_handlers.h"
#include "app/control_input.h"
#include "app/desktop_input.h"
#include "app/key_handlers.h"
#include "app/main_window.h"
#include "app/menus.h"
#include "app/settings_handlers.h"
#include "app/tick.h"
#include "app/window_stylus.h"
#include "core/control_ids.h"
#include "core/virtual_keys.h"
#include "image/render.h"
#include "input/navigation.h"
#include "platform/draw.h"
#include "settings/settle_save.h"
#include "sources/folders.h"
#include "sources/sorting.h"

namespace zeb {
namespace {

using Handler = void (*)(Viewer&);

struct Route {
  int id;
  Notify code;
  Handler handler;
};

template <int Mode>
void mode_radio(Viewer& v) { on_mode_radio_clicked(v, Mode); }
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

bool takes_stylus(const platform::Control& c) {
  using platform::Kind;
  if (!c.visible || !c.enabled || c.rect.w <= 0 || c.rect.h <= 0) return false;
  return c.kind != Kind::picture && c.kind != Kind::static_text;
}

// A key that reached the focused control after pre-translation. A hidden
// control takes no keys: the page list keeps the focus while the page view
// covers it, and an arrow key there scrolls the page rather than choosing
// another one behind the reader's back.
void dispatch_key_to_focus(Viewer& v, int vk) {
  const platform::Control* c = v.dialog.find(v.dialog.focus());
  if (!c || !c->visible) return;
  using platform::Kind;
  if (c->kind == Kind::edit || (c->kind == Kind::combo && c->editable && vk != vk::up && vk != vk::down)) {
    if (vk == vk::back) v.dialog.backspace();
    if (vk >= '0' && vk <= '9') v.dialog.type_char(static_cast<char16_t>(vk));
    return;
  }
  if ((c->kind == Kind::list || c->kind == Kind::combo) && (vk == vk::up || vk == vk::down)) {
    const int count = static_cast<int>(c->items.size());
    if (count == 0 || !c->enabled) return;
    int next = c->selection < 0 ? 0 : c->selection + (vk == vk::down ? 1 : -1);
    next = next < 0 ? 0 : (next >= count ? count - 1 : next);
    if (next == c->selection) return;
    const int id = c->id;
    v.dialog.set_selection(id, next);
    notify(v, id, Notify::selchange);
  }
}

}  // namespace

void notify(Viewer& v, int id, Notify code) {
  for (const Route& route : kRoutes) {
    if (route.id == id && route.code == code) {
      route.handler(v);
      return;
    }
  }
}

void command(Viewer& v, int id) {
  dispatch_menu_command(v, id);
  if (id == ctl::cmd_ok) ok_action(v);
  if (id == ctl::cmd_cancel) back_and_exit(v);
}

int stylus_target(const Viewer& v, int px, int py) {
  const auto& controls = v.dialog.controls();
  for (const auto& c : controls)
    if (c.dropped_down && c.visible && platform::combo_drop_rect(c).contains(px, py)) return c.id;
  // Controls drawn later lie on top of earlier ones.
  for (auto it = controls.rbegin(); it != controls.rend(); ++it)
    if (takes_stylus(*it) && it->rect.contains(px, py)) return it->id;
  return 0;
}

void stylus_down(Viewer& v, int px, int py) { on_stylus_down(v, px, py); }
void stylus_up(Viewer& v, int px, int py) { on_stylus_up(v, px, py); }
void stylus_move(Viewer& v, int px, int py) { on_stylus_move(v, px, py); }

void key_down(Viewer& v, int vk) {
  on_key_message(v, {true, vk, 1});
  dispatch_key_to_focus(v, vk);
  desktop_page_key(v, vk);
}

void key_up(Viewer& v, int vk) {
  const KeyMessage msg{false, vk, 1};
  on_key_message(v, msg);
  on_key_up_reached_window(v, msg);
}

void type_text(Viewer& v, const std::u16string& text) {
  for (char16_t ch : text) v.dialog.type_char(ch);
}

void timer_tick(Viewer& v) {
  on_timer(v);
  pump(v);
  // Whatever the tick and its paints changed counts towards the settle.
  run_settle_save(v);
}

void pump(Viewer& v) {
  // Synthetic key presses reach the focused control like real ones.
  while (!v.platform.injected_keys.empty() && !v.platform.ended) {
    const int vk = v.platform.injected_keys.front();
    v.platform.injected_keys.pop_front();
    v.platform.keys.set(vk, true);
    key_down(v, vk);
    v.platform.keys.set(vk, false);
    key_up(v, vk);
  }
  if (v.platform.ended) return;
  // A control shown, hidden or moved uncovers the window beneath it.
  const platform::DialogLook look = platform::look_of(v.dialog);
  if (look.placement != v.platform.drawn_look.placement) v.platform.invalidate();
  if (v.platform.paint_requested) {
    v.platform.paint_requested = false;
    // The picker repaint draws straight into the picker control and only
    // validates the window: the controls on screen stay as they are.
    const bool picker_only = v.state.picker_redraw_ticks >= 3;
    paint(v);
    if (!picker_only) platform::draw_controls(*v.platform.screen, v.dialog);
    v.platform.screen_changed = true;
  } else if (look.contents != v.platform.drawn_look.contents) {
    // A control whose state changed redraws itself.
    platform::draw_controls(*v.platform.screen, v.dialog);
    v.platform.screen_changed = true;
  }
  v.platform.drawn_look = look;
  // The page is on the screen and nothing else waits: time to read ahead.
  read_ahead_next_turn(v);
}

}  // namespace zeb
