#pragma once
// Resource identifiers of the main window's controls and pictures, the
// window commands and the pop-up menu items.
#include "core/codes.h"

namespace zeb::ctl {
constexpr int path_box = 1000;
constexpr int folder_list = 1001;
constexpr int page_list = 1003;
constexpr int file_path_box = 1008;
constexpr int page_path_edit = 1011;
constexpr int mode_combo = 1014;
constexpr int mode_indicator = 1017;
constexpr int settings_button = 1021;
constexpr int settings_edit = 1022;
constexpr int preset_save = 1023;
constexpr int preset_delete = 1024;
constexpr int sort_ascending = 1026;
constexpr int size_x = 1031;
constexpr int size_y = 1032;
constexpr int number_pad = 1033;
constexpr int slide_show_check = 1034;
constexpr int random_check = 1035;
constexpr int preset_box = 1036;
constexpr int size_x_label = 1037;
constexpr int size_y_label = 1038;
constexpr int page_slider = 1042;
constexpr int status_line = 1043;
constexpr int mode_radio_0 = 1044;
constexpr int mode_radio_1 = 1046;
constexpr int mode_radio_2 = 1047;
constexpr int mode_radio_3 = 1048;
constexpr int mode_radio_4 = 1049;
constexpr int mode_radio_5 = 1053;
constexpr int mode_radio_6 = 1055;
constexpr int swap_tap_check = 1057;
constexpr int lower_case_edit = 1062;
constexpr int wait_field = 1063;
constexpr int wait_label = 1065;
constexpr int sibling_list = 1066;
constexpr int next_folder = 1067;
constexpr int previous_folder = 1068;
constexpr int folder_change = 1069;
constexpr int quit_button = 1070;
constexpr int search_result_edit = 1071;
constexpr int toolbar = 1072;
constexpr int sort_descending = 1073;
constexpr int auto_sort_check = 1074;
constexpr int key_name_edit = 1076;
constexpr int key_settings = 1077;
constexpr int key_list = 1078;
constexpr int key_action_list = 1079;
constexpr int key_action_combo = 1080;
constexpr int key_unbind = 1081;
constexpr int key_save = 1082;
constexpr int full_screen_again = 1083;
constexpr int smooth_check = 1084;
constexpr int speed_label = 1085;
constexpr int speed_field = 1086;
constexpr int focus_sink = 1088;
constexpr int reduction_check = 1089;
constexpr int window_buttons = 1090;
constexpr int auto_rotate_check = 1091;
constexpr int archive_offsets = 1092;
constexpr int key_reset = 1093;
constexpr int picker = 1096;
constexpr int folder_history = 1100;

// The settings panel's number pad in layout units: its box, and the key
// cells that start at the box's corner (three columns, four rows).
struct LayoutBox {
  int x, y, w, h;
};
constexpr LayoutBox number_pad_box{175, 212, 56, 73};
constexpr int number_pad_cell_w = 16, number_pad_cell_h = 18;

// The zoom-mode radio buttons, index = v_mode.
constexpr int mode_radios[ZoomMode::count] = {mode_radio_0, mode_radio_1, mode_radio_2, mode_radio_3,
                                mode_radio_4, mode_radio_5, mode_radio_6};

// Window commands.
constexpr int cmd_ok = 1;
constexpr int cmd_cancel = 2;
constexpr int timer_id = 1015;        // the viewer's timer
constexpr int timer_period_ms = 100;  // its period, in milliseconds

// Pop-up menu items, chosen as window commands: the preset menu's heading
// (its identifier lies outside the accepted preset range, so choosing it has
// no effect) and first preset, the first sibling of the "FolderChange" menu,
// and that menu's own title, which like dismissing has no effect.
constexpr int preset_menu_heading = 7199;
constexpr int preset_menu_first = 7200;
constexpr int sibling_menu_first = 8200;
constexpr int folder_menu_title = 0;
}  // namespace zeb::ctl
