// The shared start of every stylus and key press, so the script front end
// and the window take the same code from the message on.
#include "app/pointer.h"

#include "app/control_input.h"
#include "app/messages.h"
#include "core/control_ids.h"
#include "core/virtual_keys.h"

namespace zeb {

Press begin_press(Viewer& v, int px, int py) {
  v.platform.keys.set_stylus(true);
  const int id = stylus_target(v, px, py);
  return id ? Press{Press::To::control, id} : Press{Press::To::window, 0};
}

void press(Viewer& v, const Press& p, int px, int py) {
  if (p.to == Press::To::control) press_control(v, p.control, px, py);
  if (p.to == Press::To::window) stylus_down(v, px, py);
}

void drag(Viewer& v, const Press& p, int px, int py) {
  if (p.to == Press::To::control) drag_control(v, p.control, px, py);
  if (p.to == Press::To::window) stylus_move(v, px, py);
}

void release(Viewer& v, const Press& p, int px, int py) {
  v.platform.keys.set_stylus(false);
  if (p.to == Press::To::control) release_control(v, p.control, px, py);
  if (p.to == Press::To::window) stylus_up(v, px, py);
}

void key_press(Viewer& v, int vk) {
  v.platform.keys.set(vk, true);
  key_down(v, vk);
  if (vk == vk::enter && !v.platform.ended) command(v, ctl::cmd_ok);
  if (vk == vk::escape && !v.platform.ended) command(v, ctl::cmd_cancel);
}

void key_release(Viewer& v, int vk) {
  v.platform.keys.set(vk, false);
  key_up(v, vk);
}

}  // namespace zeb
