#pragma once
// The viewer's closed sets of codes. Each set is an unnamed int enum inside a
// struct named for the set: the state fields that hold them stay plain ints
// (they are written to the settings files and shown in the state dump), a
// comparison reads `s.v_mode == ZoomMode::fit_screen`, and enumerators of
// different sets never collide.
namespace zeb {

// What key_state asks of the next tick. Two values mean "nothing": the tick
// leaves `served` after carrying a request out, a key release leaves `idle`.
struct Request {
  enum : int {
    served = -1,
    idle = 0,
    next = 8,
    previous = 10,
    back = 11,
    scroll_up = 21,
    scroll_down = 22,
    scroll_left = 23,
    scroll_right = 24,
    full_screen = 25,
    minimise = 26,
  };
};

// Actions a button can be bound to ("指定なし" .. "最小化").
struct KeyAction {
  enum : int {
    none = 0,
    next_page,
    previous_page,
    back_and_exit,
    scroll_up,
    scroll_down,
    scroll_left,
    scroll_right,
    redraw_window,
    minimise,
    count,
  };
};

// Movement directions of scroll_dir; a drag marks itself for the smooth step.
struct ScrollDir {
  enum : int { none = 0, left = 1, right = 2, down = 3, up = 4, drag = 5 };
};

// Zoom modes of v_mode, in the order of the mode combo's items.
struct ZoomMode {
  enum : int {
    normal = 0,       // 通常表示
    fit_width = 1,    // 横幅を指定
    fit_height = 2,   // 高さを指定
    fit_box = 3,      // 指定ドット内に強制表示
    fit_screen = 4,   // 画面内表示(自動回転)
    fit_longer = 5,   // 画像の長い方を指定
    fit_shorter = 6,  // 画像の短い方を指定
    count = 7,
  };
};

// What the panel area shows: the page view, or the lists (the browser or
// the settings column, by settings_open).
struct PanelMode {
  enum : int { page_view = 0, lists = 1 };
};

}  // namespace zeb
