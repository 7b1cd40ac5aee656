#pragma once
// The viewer: its state (one plain struct whose fields carry the viewer's
// own names), the main-window members beside it, the dialog's controls and
// the platform services. Operations are free functions taking a Viewer&.
#include <array>
#include <memory>
#include <string>

#include "core/services.h"
#include "widgets/bitmap.h"
#include "widgets/dialog.h"

namespace zeb {

class ReadAhead;   // image/read_ahead.h
class KeptPages;   // image/kept_pages.h
class ViewHelper;  // app/view_during_decode.h
class SettleSave;  // settings/settle_save.h

// The screen in pixels (the platform's surface), and in the layout units
// of the 240 x 320 screen that controls and zones are placed in: a layout
// unit is screen_scale pixels.
constexpr int screen_w = platform::kScreenWidth;   // pixels
constexpr int screen_h = platform::kScreenHeight;  // pixels
constexpr int screen_scale = 2;
constexpr int layout_w = screen_w / screen_scale;
constexpr int layout_h = screen_h / screen_scale;
static_assert(layout_w * screen_scale == screen_w && layout_h * screen_scale == screen_h);
static_assert(layout_w == 240 && layout_h == 320);
// The screen's centre in pixels, where a drag has no speed.
constexpr int screen_centre_x = screen_w / 2;
constexpr int screen_centre_y = screen_h / 2;
constexpr int kFarEnd = 30000;  // scroll offset meaning "the far end"
constexpr int kEdgeWaitTicks = 5;  // still ticks at an edge before a wrap jumps to the other end

constexpr int kKeySlots = 25;
// The action bound to each button slot (1..24; slot 0 is unused).
using KeyActions = std::array<int, kKeySlots>;

// The viewer's own state. Flags are ints holding 0 or 1 unless said
// otherwise; offsets and sizes are screen pixels; counters count ticks of
// the 100 ms timer.
struct ViewerState {
  // --- Persisted settings (the configuration file's keys) ---
  std::u16string LastDir = u"\\";  // current location ("\\..." path; an archive too)
  std::u16string LastFName;        // page-list entry of the page shown last
  int v_mode = 0;                  // zoom mode, ZoomMode (0..6)
  int Text1 = 240;                 // first size field of the zoom mode (pixels)
  int Text2 = 320;                 // second size field (pixels; modes 5 and 6 ignore it)
  int SlideShow = 20;              // slide-show wait (ticks), re-read from its field at every load
  int lr_mir = 1;                  // left-right mirror sign: 1 plain, -1 mirrored
  int ud_mir = 1;                  // up-down mirror sign: 1 plain, -1 mirrored
  int r_top = 1;                   // horizontal start position: 0 left, 1 right, 2 centre
  int u_top = 0;                   // vertical start position: 0 top, 1 bottom, 2 centre
  int v_left = 0;                  // 1: the page is shown turned a quarter (the picker's turn cell)
  int lr_lop = 0;                  // 1: held-key scrolling wraps at the left and right edges
  int ud_lop = 0;                  // 1: held-key scrolling wraps at the top and bottom edges
  int LR_BT = 0;                   // 1: the left and right tap zones swap their turns
  int SO_CH = 0;                   // 1: sort the page list whenever a location opens
  int SO_CHF = 0;                  // direction of that sort: 0 ascending, 1 descending
  int MAX_SP = 64;                 // scroll speed of held keys (pixels per tick)
  int SC_MODE = 0;                 // 1: smooth (accelerating) scrolling; -1 or 0 off
  int ZOOM_MODE = 0;               // 1: the resampler's reduction filter (the reduction check box)
  int RSC = 0;                     // 1: turn landscape pages automatically
  int MAX_BLOG = 50;               // folder history length (location and page pairs)

  // --- Current source and page ---
  int page_index = 0;     // index of the shown page in the page list
  int archive_mode = 0;   // 1: LastDir is an archive, the offset list is filled
  int viewing = 0;        // 1: the page view is shown (not the browser)
  int settings_open = 0;  // 1: the settings column is shown
  // A pending sort and the read-ahead wait while either of these is not 0.
  int folder_scan = 0;       // 1 while open_location lists the location; a load is then refused
  int wrap_pause_ticks = 0;  // ticks held-key scrolling still pauses after a wrap, counting down to 0;
                             // a load is also refused on the pause's last tick (value 1)
  int turning = 0;           // 1 while a page turn runs (guards re-entry)
  int resume_index = 0;      // page-list index of the page the history names
  int scan_first_match = 1;  // 1 until the scan met the history's page name
  int sort_request = 0;      // sort pending for the tick: 0 none, 1 ascending, 2 descending
  // 1 while the page at page_index is the one the reader is on: resumed
  // from the folder history when the location opened, or loaded since.
  // 0 for the page an opening shows by itself. A sort keeps a current page.
  int page_current = 0;
  int list_count = 0;          // items of the last pop-up menu's list (siblings or presets)
  int select_delay = 0;        // ticks until the page chosen in the list loads (0: none)
  int select_delay_ticks = 6;  // the delay a list choice waits (ticks)
  std::u16string app_dir;      // the settings folder's parent (host path as UTF-16)

  // --- View geometry and motion (the page bitmap's own size is in MainWindow) ---
  int scroll_x = kFarEnd;                                // left edge of the shown part of the page (pixels)
  int scroll_y = kFarEnd;                                // top edge (pixels); kFarEnd: the far end, cut by the clamp
  int center_x_pending = 0;                              // 1: halve scroll_x once clamped (centred start)
  int center_y_pending = 0;                              // 1: halve scroll_y once clamped (centred start)
  float zoom = 1.0f;                                     // zoom factor of the shown bitmap (hold-to-zoom, fit, fill)
  float mode_scale = 1.0f;                               // enlargement the zoom mode leaves to drawing
  float fill_scale = 1.0f;                               // zoom at which the page covers the screen
  float fit_scale = 1.0f;                                // zoom at which the page fits inside the screen
  int auto_rotated = 0;                                  // 1: the shown page was turned by RSC
  int scroll_dir = 0;                                    // last scroll direction, ScrollDir (drag included)
  int scroll_speed = 1;                                  // current smooth-scroll step (pixels per tick)
  int scroll_accel_index = 0;                            // position in scroll_accel_steps
  std::array<int, 4> scroll_accel_steps = {1, 4, 8, 8};  // smooth-scroll speed-ups (pixels per tick)
  int edge_wait = kEdgeWaitTicks;                        // ticks left at an edge before a wrap jumps to the other end
  int prev_scroll_x = 0, prev_scroll_y = 0;              // offsets of the tick before (edge test)
  // After a wrap, scroll_hold_x counts the ticks the horizontal scroll
  // holds still; scroll_hold_y is a flag: 1 while the vertical one holds.
  int scroll_hold_x = 0, scroll_hold_y = 0;

  // --- Input, panels and timing ---
  int tap_down = 0;                    // zoom held by a tap in a top corner: 0 none, 1 out, 2 in
  int drag_pending = 0;                // 1 while a drag moves the page each tick
  int drag_dx = 0, drag_dy = 0;        // the drag's speed (pixels per tick)
  int repaint_request = 0;             // 1: the tick repaints the window
  int picker_redraw_ticks = 0;         // ticks since the picker was pressed (0: idle); from 3 its redraw alone
  int picker_x = 0, picker_y = 0;      // the picker's place (layout units)
  int slide_show_on = 0;               // 1: the slide show runs
  int slide_countdown = 20;            // ticks until the slide show's next turn
  int random_page = 0;                 // 1: pages are turned in random order
  int panel_mode = 0;                  // shown panel, PanelMode (page view, lists, settings)
  int panel_aux = 0;                   // 1: the view panel (toolbar, picker, slider) is open over the page
  std::u16string mode_label = u"700";  // text of the zoom-mode indicator
  int exit_guard = 0;                  // 1 while the exit question is asked (guards re-entry)
  // Restore after a minimise: 0 normal, 1 minimised and waiting for a
  // foreground window, 2 to be restored on the next tick.
  int timer_state = 0;
  int key_state = 0;        // the request a button made for the tick, Request
  int key_learn = 0;        // 1: the key-setting panel is open (presses are learnt)
  int last_key = 0;         // virtual-key code of the last key message
  std::u16string key_text;  // the key name shown in the key-setting panel
  KeyActions key_actions = {0, 2, 3, 9, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 6, 7, 5, 4};
  // Game-input default keys A, B, C, Start (the only entries of the key list
  // the viewer uses), as virtual-key codes.
  struct GxKeys { short vkA = 0, vkB = 0, vkC = 0, vkStart = 0; } gx_keys;
  platform::ColorRef bg_color = 0;  // the page area's background (0x00BBGGRR)
};

// What a view bitmap is made from: the page's picture size, the target as
// shown, the turn asked for, auto-rotate and the wide box. Equal requests on
// the same page bitmap give the same view bitmap.
struct ViewRequest {
  int W = 0, H = 0, target_w = 0, target_h = 0, rotate = 0, RSC = 0, ZOOM_MODE = 0;
  bool operator==(const ViewRequest&) const = default;
};

// Members of the main-window object.
struct MainWindow {
  std::unique_ptr<platform::Bitmap> page_bitmap;
  int page_width = 0, page_height = 0;
  std::unique_ptr<platform::Bitmap> view_bitmap;
  int view_width = 0, view_height = 0;
  ViewRequest view_request;  // what view_bitmap was made from
  // A view made before the geometry asked for it: while its page was
  // decoded, or kept with a page the reader left. resample_page takes it
  // instead of resampling when it was made from page_bitmap with the same
  // request; the page's load drops it otherwise.
  std::unique_ptr<platform::Bitmap> made_view;
  ViewRequest made_view_request;
  const platform::Bitmap* made_view_page = nullptr;
  int zoom_radio = -1;
  // The start-position picker's two looks and the other pictures, drawn by
  // our own code at start-up.
  std::unique_ptr<platform::Bitmap> picker_off_bitmap, picker_on_bitmap;
  // +1 after a forward turn or a reload (the next turn goes forward), -1
  // after a backward turn: the direction the read-ahead looks in.
  int turn_direction = 1;
  // The page decoded ahead of the next turn; made on first use.
  std::shared_ptr<ReadAhead> read_ahead;
  // The page shown and the page left before it, kept for a turn back and
  // for a reload of the same page; made on first use.
  std::shared_ptr<KeptPages> kept_pages;
  // The thread that averages view lines beside the decoder; made on first
  // use, never on one processor.
  std::shared_ptr<ViewHelper> view_helper;
  // The reader's place saved once it settles; made at the end of start-up.
  std::shared_ptr<SettleSave> settle_save;
};

struct Viewer {
  explicit Viewer(platform::Platform& p) : platform(p) {}
  ViewerState state;
  MainWindow window;
  platform::Dialog dialog;
  platform::Platform& platform;

  // Repaint of the whole window without erasing the background.
  void repaint() { platform.invalidate(); }
};

}  // namespace zeb
