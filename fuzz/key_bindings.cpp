// Key binding file: the input is key.cfg. The viewer starts with it, every
// hardware button is pressed once with its binding in force, the key panel
// is opened, the bindings are saved and read back: the table read back must
// be the table saved.
#include <cstdlib>

#include "app/key_handlers.h"
#include "app/messages.h"
#include "fuzz/fuzz_support.h"
#include "input/keys.h"
#include "settings/key_bindings.h"

namespace {

// The four arrows and the game-input keys the buttons are polled from.
constexpr int kKeys[] = {0x25, 0x26, 0x27, 0x28, 0xC1, 0xC2, 0xC3, 0xC4};

void press_every_key(zeb::Viewer& v) {
  for (int vk : kKeys) {
    v.platform.keys.set(vk, true);
    zeb::key_down(v, vk);
    zeb::timer_tick(v);
    v.platform.keys.set(vk, false);
    zeb::key_up(v, vk);
    zeb::timer_tick(v);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const zeb::KeyActions parsed = zeb::parse_key_bindings(bytes);
  if (zeb::parse_key_bindings(zeb::key_bindings_text(parsed)) != parsed) std::abort();

  zeb::fuzz::reset_settings();
  zeb::fuzz::write_scratch_file(zeb::fuzz::settings_path("key.cfg"), bytes);
  zeb::fuzz::FuzzViewer fv;
  zeb::Viewer& v = fv.viewer;
  if (v.state.key_actions != parsed) std::abort();
  zeb::fuzz::view_current_location(v);
  press_every_key(v);
  zeb::on_key_settings_clicked(v);
  zeb::on_key_save_clicked(v);
  zeb::on_key_settings_clicked(v);
  if (v.state.key_actions != parsed) std::abort();
  return 0;
}
