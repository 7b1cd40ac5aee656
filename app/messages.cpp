// The entry points through which both front ends deliver stylus, key and
// timer messages to the main window, and the paint that follows them.
#include "app/messages.h"

#include "app/control_input.h"
#include "app/desktop_input.h"
#include "app/key_handlers.h"
#include "app/page_steps.h"
#include "app/tick.h"
#include "app/window_stylus.h"
#include "core/control_ids.h"
#include "core/virtual_keys.h"
#include "settings/settle_save.h"
#include "view/paint.h"
#include "widgets/draw.h"

namespace zeb {
namespace {

// A key that reached the focused control after pre-translation, named as
// the controls know keys: the arrows move a list's selection, backspace and
// the digits edit an edit box. A hidden control takes no keys: the page list
// keeps the focus while the page view covers it, and an arrow key there
// scrolls the page rather than choosing another one behind the reader's back.
void dispatch_key_to_focus(Viewer& v, int vk) {
  using platform::Key;
  Key key = Key::other;
  if (vk == vk::up) key = Key::up;
  if (vk == vk::down) key = Key::down;
  if (vk == vk::back) key = Key::backspace;
  if (vk >= '0' && vk <= '9') key = Key::character;
  apply_outcome(v, platform::key_to_focus(v.dialog, key, static_cast<char16_t>(vk)));
}

}  // namespace

int stylus_target(const Viewer& v, int px, int py) { return platform::control_at(v.dialog, px, py); }

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
