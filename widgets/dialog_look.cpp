#include "widgets/dialog_look.h"

#include <functional>
#include <string_view>

namespace zeb::platform {
namespace {

// Mixes a value into a running hash (the boost recipe).
void mix(std::size_t& hash, std::size_t value) { hash ^= value + 0x9e3779b97f4a7c15ULL + (hash << 6) + (hash >> 2); }

void mix_text(std::size_t& hash, const std::u16string& text) { mix(hash, std::hash<std::u16string_view>{}(text)); }

}  // namespace

DialogLook look_of(const Dialog& dialog) {
  DialogLook look;
  for (const Control& c : dialog.controls()) {
    mix(look.placement, static_cast<std::size_t>(c.visible));
    mix(look.placement, static_cast<std::size_t>(c.dropped_down));
    for (int v : {c.rect.x, c.rect.y, c.rect.w, c.rect.h}) mix(look.placement, static_cast<std::size_t>(v));
    if (!c.visible) continue;
    mix_text(look.contents, c.text);
    for (const auto& item : c.items) mix_text(look.contents, item);
    for (long long v :
         {static_cast<long long>(c.enabled), static_cast<long long>(c.selection), static_cast<long long>(c.top_index),
          static_cast<long long>(c.checked), static_cast<long long>(c.pos), static_cast<long long>(c.range_min),
          static_cast<long long>(c.range_max), static_cast<long long>(c.pressed), c.text_color,
          static_cast<long long>(c.caret)})
      mix(look.contents, static_cast<std::size_t>(v));
  }
  mix(look.contents, static_cast<std::size_t>(dialog.focus()));
  return look;
}

}  // namespace zeb::platform
