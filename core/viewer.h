#pragma once
// The viewer: its state (one plain struct whose fields carry the viewer's
// own names), the main-window members beside it, the dialog's controls and
// the platform services. Operations are free functions taking a Viewer&.
#include <array>
#include <memory>
#include <string>

#include "platform/bitmap.h"
#include "platform/dialog.h"
#include "platform/services.h"

namespace zeb {

class ReadAhead;   // image/read_ahead.h
class KeptPages;   // image/kept_pages.h
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

constexpr int kKeySlots = 25;

struct ViewerState {
  // Persisted settings (configuration keys).
  std::u16string LastDir = u"\\";
  std::u16string LastFName;
  int v_mode = 0;
  int Text1 = 240;
  int Text2 = 320;
  int SlideShow = 20;
  int lr_mir = 1;
  int ud_mir = 1;
  int r_top = 1;
  int u_top = 0;
  int v_left = 0;
  int lr_lop = 0;
  int ud_lop = 0;
  int LR_BT = 0;
  int SO_CH = 0;
  int SO_CHF = 0;
  int MAX_SP = 64;
  int SC_MODE = 0;
  int ZOOM_MODE = 0;
  int RSC = 0;
  int MAX_BLOG = 50;

  // Current source and page.
  int page_index = 0;
  int archive_mode = 0;
  int viewing = 0;
  int settings_open = 0;
  int load_block = 0;
  int turning = 0;
  int resume_index = 0;
  int scan_first_match = 1;
  int sort_request = 0;
  // 1 while the page at page_index is the one the reader is on: resumed
  // from the folder history when the location opened, or loaded since.
  // 0 for the page an opening shows by itself. A sort keeps a current page.
  int page_current = 0;
  int list_count = 0;
  int select_delay = 0;
  int select_delay_ticks = 6;
  std::u16string app_dir;

  // Page image (bits and stride of the page bitmap live in the bitmap).
  // View geometry and motion.
  int scroll_x = kFarEnd;
  int scroll_y = kFarEnd;
  int center_x_pending = 0;
  int center_y_pending = 0;
  float zoom = 1.0f;
  float mode_scale = 1.0f;
  float fill_scale = 1.0f;
  float fit_scale = 1.0f;
  int auto_rotated = 0;
  int scroll_dir = 0;
  int scroll_speed = 1;
  int scroll_accel_index = 0;
  std::array<int, 4> scroll_accel_steps = {1, 4, 8, 8};
  int edge_wait = 5;
  int prev_scroll_x = 0, prev_scroll_y = 0;
  int scroll_hold_x = 0, scroll_hold_y = 0;

  // Input, panels and timing.
  int tap_down = 0;
  int drag_pending = 0, drag_dx = 0, drag_dy = 0;
  int repaint_request = 0;
  int picker_redraw_ticks = 0;
  int picker_x = 0, picker_y = 0;
  int slide_show_on = 0;
  int slide_countdown = 20;
  int random_page = 0;
  int panel_mode = 0;
  int panel_aux = 0;
  std::u16string mode_label = u"700";
  int exit_guard = 0;
  int timer_state = 0;
  int key_state = 0;
  int key_learn = 0;
  int last_key = 0;
  std::u16string key_text;
  std::array<int, kKeySlots> key_actions = {0, 2, 3, 9, 1, 0, 0, 0, 0, 0, 0, 0, 0,
                                            0, 0, 0, 0, 0, 0, 0, 0, 6, 7, 5, 4};
  // Game-input default keys A, B, C, Start (the only entries of the key list
  // the viewer uses), as virtual-key codes.
  struct GxKeys { short vkA = 0, vkB = 0, vkC = 0, vkStart = 0; } gx_keys;
  platform::ColorRef bg_color = 0;
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
