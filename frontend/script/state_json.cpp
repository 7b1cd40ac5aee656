#include "frontend/script/state_json.h"

#include <cstdio>
#include <cstdlib>

#include "host/text.h"

namespace zeb::script {
namespace {

using nlohmann::json;

// Nine significant digits, so a single-precision value reads back exactly.
json float_json(float value) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.9g", static_cast<double>(value));
  return std::strtod(buf, nullptr);
}

json bitmap_json(const platform::Bitmap* b, bool with_stride) {
  if (!b) return nullptr;
  json j = {{"width", b->width()}, {"height", b->height()}};
  if (with_stride) j["stride"] = b->stride();
  return j;
}

std::string utf8(const std::u16string& s) { return text::to_utf8(s); }

const char* kind_name(platform::Kind kind) {
  using platform::Kind;
  switch (kind) {
    case Kind::edit: return "edit";
    case Kind::list: return "list";
    case Kind::combo: return "combo";
    case Kind::button: return "button";
    case Kind::check_box: return "check_box";
    case Kind::radio: return "radio";
    case Kind::static_text: return "static";
    case Kind::picture: return "picture";
    case Kind::slider: return "slider";
  }
  return "unknown";
}

#define ZEB_FIELD(name) j[#name] = s.name
#define ZEB_TEXT(name) j[#name] = utf8(s.name)
#define ZEB_FLOAT(name) j[#name] = float_json(s.name)

void settings_fields(const ViewerState& s, json& j) {
  ZEB_TEXT(LastDir); ZEB_TEXT(LastFName); ZEB_FIELD(v_mode); ZEB_FIELD(Text1); ZEB_FIELD(Text2);
  ZEB_FIELD(SlideShow); ZEB_FIELD(lr_mir); ZEB_FIELD(ud_mir); ZEB_FIELD(r_top); ZEB_FIELD(u_top);
  ZEB_FIELD(v_left); ZEB_FIELD(lr_lop); ZEB_FIELD(ud_lop); ZEB_FIELD(LR_BT); ZEB_FIELD(SO_CH);
  ZEB_FIELD(SO_CHF); ZEB_FIELD(MAX_SP); ZEB_FIELD(SC_MODE); ZEB_FIELD(ZOOM_MODE); ZEB_FIELD(RSC);
  ZEB_FIELD(MAX_BLOG);
}

void source_fields(const ViewerState& s, json& j) {
  ZEB_FIELD(page_index); ZEB_FIELD(archive_mode); ZEB_FIELD(viewing); ZEB_FIELD(settings_open);
  // One key for both blocks, as scripts read it: 1 during a folder scan,
  // else the wrap pause's ticks left.
  j["load_block"] = s.folder_scan != 0 ? 1 : s.wrap_pause_ticks;
  ZEB_FIELD(turning);
  ZEB_FIELD(resume_index);
  ZEB_FIELD(scan_first_match);
  ZEB_FIELD(sort_request); ZEB_FIELD(list_count); ZEB_FIELD(select_delay); ZEB_FIELD(select_delay_ticks);
  ZEB_TEXT(app_dir); ZEB_FIELD(page_current);
}

void motion_fields(const ViewerState& s, json& j) {
  ZEB_FIELD(scroll_x); ZEB_FIELD(scroll_y); ZEB_FIELD(center_x_pending); ZEB_FIELD(center_y_pending);
  ZEB_FLOAT(zoom); ZEB_FLOAT(mode_scale); ZEB_FLOAT(fill_scale); ZEB_FLOAT(fit_scale);
  ZEB_FIELD(auto_rotated); ZEB_FIELD(scroll_dir); ZEB_FIELD(scroll_speed); ZEB_FIELD(scroll_accel_index);
  ZEB_FIELD(scroll_accel_steps); ZEB_FIELD(edge_wait); ZEB_FIELD(prev_scroll_x); ZEB_FIELD(prev_scroll_y);
  ZEB_FIELD(scroll_hold_x); ZEB_FIELD(scroll_hold_y);
}

void input_fields(const ViewerState& s, json& j) {
  ZEB_FIELD(tap_down); ZEB_FIELD(drag_pending); ZEB_FIELD(drag_dx); ZEB_FIELD(drag_dy);
  ZEB_FIELD(repaint_request); ZEB_FIELD(picker_redraw_ticks); ZEB_FIELD(picker_x); ZEB_FIELD(picker_y);
  ZEB_FIELD(slide_show_on); ZEB_FIELD(slide_countdown); ZEB_FIELD(random_page); ZEB_FIELD(panel_mode);
  ZEB_FIELD(panel_aux); ZEB_TEXT(mode_label); ZEB_FIELD(exit_guard); ZEB_FIELD(timer_state);
  ZEB_FIELD(key_state); ZEB_FIELD(key_learn); ZEB_FIELD(last_key); ZEB_TEXT(key_text);
  ZEB_FIELD(key_actions); ZEB_FIELD(bg_color);
}

#undef ZEB_FIELD
#undef ZEB_TEXT
#undef ZEB_FLOAT

}  // namespace

json state_json(const Viewer& v) {
  json j = json::object();
  settings_fields(v.state, j);
  source_fields(v.state, j);
  motion_fields(v.state, j);
  input_fields(v.state, j);
  const MainWindow& w = v.window;
  j["page_width"] = w.page_width;
  j["page_height"] = w.page_height;
  j["view_width"] = w.view_width;
  j["view_height"] = w.view_height;
  j["zoom_radio"] = w.zoom_radio;
  j["page_bitmap"] = bitmap_json(w.page_bitmap.get(), true);
  j["view_bitmap"] = bitmap_json(w.view_bitmap.get(), false);
  return j;
}

json control_json(const Viewer& v, int id) {
  const platform::Control* c = v.dialog.find(id);
  if (!c) return nullptr;
  json j = {{"id", c->id}, {"kind", kind_name(c->kind)}, {"visible", c->visible},
            {"enabled", c->enabled}, {"text", utf8(c->text)}, {"selection", c->selection},
            {"checked", c->checked}, {"pos", c->pos}, {"range_min", c->range_min},
            {"range_max", c->range_max}, {"x", c->rect.x}, {"y", c->rect.y},
            {"w", c->rect.w}, {"h", c->rect.h}, {"focused", v.dialog.focus() == c->id}};
  if (c->kind == platform::Kind::list || c->kind == platform::Kind::combo) {
    json items = json::array();
    for (const auto& item : c->items) items.push_back(utf8(item));
    j["items"] = items;
    j["top_index"] = c->top_index;
  }
  return j;
}

}  // namespace zeb::script
