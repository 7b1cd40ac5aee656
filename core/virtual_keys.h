#pragma once
// Virtual-key codes the viewer knows by name.
namespace zeb::vk {
constexpr int back = 0x08;
constexpr int enter = 0x0D;
constexpr int escape = 0x1B;
constexpr int space = 0x20;
constexpr int page_up = 0x21;
constexpr int page_down = 0x22;
constexpr int end = 0x23;
constexpr int home = 0x24;
constexpr int left = 0x25;
constexpr int up = 0x26;
constexpr int right = 0x27;
constexpr int down = 0x28;
constexpr int digit_0 = 0x30;
constexpr int letter_a = 0x41;
constexpr int windows = 0x5B;     // a key-up that leaves the key-name edit alone
constexpr int scan_first = 0xC0;  // the hardware scan keys 0xC0..0xCF
constexpr int game_a = 0xC1;
constexpr int game_b = 0xC2;
constexpr int game_c = 0xC3;
constexpr int game_start = 0xC4;
constexpr int scan_last = 0xCF;
constexpr int ime_process = 0xE5;  // the input method's processing key
}  // namespace zeb::vk
