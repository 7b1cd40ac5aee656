// The dialog model's list, edit and slider semantics that the viewer's
// lists rely on, and how the controls answer the stylus, keys and wheel.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "widgets/control_input.h"
#include "widgets/dialog.h"
#include "widgets/draw.h"
#include "widgets/gestures.h"

using zeb::platform::Control;
using zeb::platform::Dialog;
using zeb::platform::Kind;

namespace {

Dialog dialog_with(Kind kind, int id = 1, bool numeric = false, bool lower = false) {
  Dialog d;
  Control c;
  c.id = id;
  c.kind = kind;
  c.numeric = numeric;
  c.lower_case = lower;
  d.add(c);
  return d;
}

}  // namespace

TEST(DialogList, insert_at_index_keeps_positions_and_selection) {
  Dialog d = dialog_with(Kind::list);
  EXPECT_EQ(d.insert_item(1, 0, u"b"), 0);
  EXPECT_EQ(d.insert_item(1, 0, u"a"), 0);
  EXPECT_EQ(d.insert_item(1, -1, u"d"), 2);
  d.set_selection(1, 1);  // "b"
  EXPECT_EQ(d.insert_item(1, 2, u"c"), 2);
  EXPECT_EQ(d.selection(1), 1);
  EXPECT_EQ(d.insert_item(1, 0, u"0"), 0);
  EXPECT_EQ(d.selection(1), 2);  // still "b"
  EXPECT_EQ(d.item_text(1, 2), u"b");
  EXPECT_EQ(d.insert_item(1, 9, u"x"), -1);
  EXPECT_EQ(d.item_count(1), 5);
}

TEST(DialogList, delete_and_out_of_range_reads_are_harmless) {
  Dialog d = dialog_with(Kind::list);
  for (auto s : {u"a", u"b", u"c"}) d.insert_item(1, -1, s);
  d.set_selection(1, 2);
  EXPECT_EQ(d.delete_item(1, 0), 2);
  EXPECT_EQ(d.selection(1), 1);
  EXPECT_EQ(d.delete_item(1, 1), 1);
  EXPECT_EQ(d.selection(1), -1);
  EXPECT_EQ(d.delete_item(1, 5), -1);
  EXPECT_EQ(d.item_text(1, 7), u"");
  EXPECT_EQ(d.item_text(99, 0), u"");
  d.set_selection(1, 4);
  EXPECT_EQ(d.selection(1), -1);
}

TEST(DialogList, sorted_add_orders_by_code_units) {
  Dialog d = dialog_with(Kind::combo);
  for (auto s : {u"b.set", u"B.set", u"a.set", u"ab.set"}) d.add_item_sorted(1, s);
  ASSERT_EQ(d.item_count(1), 4);
  EXPECT_EQ(d.item_text(1, 0), u"B.set");
  EXPECT_EQ(d.item_text(1, 1), u"a.set");
  EXPECT_EQ(d.item_text(1, 2), u"ab.set");
  EXPECT_EQ(d.item_text(1, 3), u"b.set");
}

TEST(DialogEdit, numeric_edit_takes_digits_only_and_backspace_edits) {
  Dialog d = dialog_with(Kind::edit, 5, true);
  d.set_focus(5);
  for (char16_t ch : std::u16string(u"1a2-3")) d.type_char(ch);
  EXPECT_EQ(d.text(5), u"123");
  d.backspace();
  EXPECT_EQ(d.text(5), u"12");
}

TEST(DialogEdit, lower_case_edit_lowers_only_ascii_letters) {
  Dialog d = dialog_with(Kind::edit, 5, false, true);
  d.set_text(5, u"PAGE.JPG Ä");
  EXPECT_EQ(d.text(5), u"page.jpg Ä");
}

TEST(DialogSlider, position_stays_in_range) {
  Dialog d = dialog_with(Kind::slider);
  d.set_range(1, 0, 9);
  d.set_pos(1, 12);
  EXPECT_EQ(d.pos(1), 9);
  d.set_pos(1, -3);
  EXPECT_EQ(d.pos(1), 0);
}

TEST(DialogList, selecting_scrolls_the_item_into_view) {
  Dialog d = dialog_with(Kind::list);
  d.move(1, {0, 0, 100, 3 * zeb::platform::kListItemHeight});
  for (int i = 0; i < 10; ++i) d.insert_item(1, -1, u"x");
  d.set_selection(1, 7);
  EXPECT_EQ(d.find(1)->top_index, 5);
  d.set_selection(1, 6);
  EXPECT_EQ(d.find(1)->top_index, 5);
  d.set_selection(1, 2);
  EXPECT_EQ(d.find(1)->top_index, 2);
}

namespace {

using namespace zeb::platform;

// A dialog of one control of each kind that takes input: a list of ten
// items showing four (rows 28 pixels high, a scroll bar at x 181..198), a
// button, a check box, two groups of two radio buttons, a combo of twelve
// items (its drop-down from y 228, eight rows), an edit and a slider over
// 0..100 (x = 220 + 2 * position).
struct Hands {
  Dialog d;
  StylusGestures g;
  bool passed_on = false;  // whether the gestures handed the last event on
  bool refill = false;     // the owner fills the list anew on a choice in it
  Hands() {
    auto add = [&](int id, Kind kind, Rect rect, int items = 0, bool group = false) {
      Control c;
      c.id = id, c.kind = kind, c.rect = rect, c.visible = true, c.group_start = group;
      c.items.assign(items, u"item");
      d.add(c);
    };
    add(1, Kind::list, {0, 0, 200, 4 * kListItemHeight}, 10);
    add(2, Kind::button, {0, 120, 80, 30});
    add(3, Kind::check_box, {100, 120, 80, 30});
    add(4, Kind::radio, {0, 160, 60, 20}, 0, true);
    add(5, Kind::radio, {60, 160, 60, 20});
    add(6, Kind::radio, {120, 160, 60, 20}, 0, true);
    add(7, Kind::radio, {180, 160, 60, 20});
    add(8, Kind::combo, {0, 200, 200, 28}, 12);
    add(9, Kind::edit, {220, 0, 200, 28});
    add(10, Kind::slider, {220, 40, 201, 20});
    d.set_range(10, 0, 100);
  }
  // A press as the window's owner delivers it: through the gestures to the
  // control under the stylus when they pass it on; a double-click they
  // report after it wins over the press's own notification.
  Outcome down(int px, int py, int clicks) {
    const int target = control_at(d, px, py);
    const StylusGestures::Step step = g.down(d, target, px, py, clicks);
    passed_on = step.deliver;
    if (!step.deliver) return {target, std::nullopt, step.redraw};
    const Outcome press = target ? press_control(d, target, px, py) : Outcome{};
    if (refill && press.control == 1 && press.notify == Notify::selchange) {
      refill = false;
      d.clear_items(1);
      for (auto item : {u"new", u"other"}) d.insert_item(1, -1, item);
    }
    const Outcome after = g.after_press(d, px, py);
    return after.notify ? after : press;
  }
  Outcome move(int px, int py) {
    const StylusGestures::Step step = g.move(d, px, py);
    passed_on = step.deliver;
    return {0, std::nullopt, step.redraw};
  }

  // One input, as in "press ID X Y", "release ID X Y", "drag ID X Y",
  // "click ID", "select ID INDEX", "focus ID", "hide ID", "key up|down|back|CHAR",
  // "wheel X Y STEPS", "dropwheel X Y STEPS", "down X Y CLICKS", "move X Y",
  // "up", "tap X Y CLICKS", "refill".
  Outcome run(const std::string& input) {
    std::istringstream in(input);
    std::string op, word;
    in >> op;
    int a = 0, b = 0, c = 0;
    if (op == "key") in >> word;
    in >> a >> b >> c;
    if (op == "press") return press_control(d, a, b, c);
    if (op == "release") return release_control(d, a, b, c);
    if (op == "drag") return drag_control(d, a, b, c);
    if (op == "click") return click_control(d, a);
    if (op == "select") return select_item(d, a, b);
    if (op == "wheel") return wheel_list(d, a, b, c);
    if (op == "dropwheel") return wheel_drop_down(d, a, b, c);
    if (op == "down") return down(a, b, c);
    if (op == "move") return move(a, b);
    if (op == "tap") {
      const Outcome out = down(a, b, c);
      g.up();
      return out;
    }
    if (op == "up" || op == "focus" || op == "hide" || op == "refill") {
      if (op == "up") g.up();
      if (op == "focus") d.set_focus(a);
      if (op == "hide") d.show(a, false);
      refill = refill || op == "refill";
      return {};
    }
    const Key key = word == "up"     ? Key::up
                    : word == "down" ? Key::down
                    : word == "back" ? Key::backspace
                                     : Key::character;
    return key_to_focus(d, key, key == Key::character ? word[0] : 0);
  }
  // A value of control ID after the inputs: "sel", "top", "pos", "checked",
  // "pressed", "open", "text" (its length), "focus" (1 when focused), "passed".
  int probe(const std::string& field, int id) {
    if (field == "passed") return passed_on;
    const Control& c = *d.find(id);
    if (field == "sel") return c.selection;
    if (field == "top") return c.top_index;
    if (field == "pos") return c.pos;
    if (field == "checked") return c.checked;
    if (field == "pressed") return c.pressed;
    if (field == "open") return c.dropped_down;
    if (field == "text") return static_cast<int>(c.text.size());
    return field == "focus" && d.focus() == id;
  }
};

struct WidgetCase {
  const char* what;
  const char* inputs;  // separated by ";": the last one's answer is checked
  Outcome expected;
  const char* holds;  // "FIELD ID VALUE" checks separated by ";"
};

std::vector<std::string> split(const std::string& list) {
  std::vector<std::string> parts;
  std::istringstream in(list);
  for (std::string part; std::getline(in, part, ';');) parts.push_back(part);
  return parts;
}

}  // namespace

TEST(WidgetInput, controls_answer_stylus_keys_and_wheel_as_values) {
  const Notify click = Notify::click, sel = Notify::selchange, scroll = Notify::scroll, dbl = Notify::dblclick;
  const std::optional<Notify> none;
  const std::vector<WidgetCase> cases = {
      // Press and release: buttons click when released inside after a press.
      {"button released inside", "press 2 10 130; release 2 70 140", {2, click, true}, "pressed 2 0"},
      {"button released outside", "press 2 10 130; release 2 90 130", {2, none, true}, "pressed 2 0"},
      {"button released unpressed", "release 2 10 130", {2, none, true}, ""},
      {"check box released inside", "release 3 110 130", {3, click, true}, "checked 3 1"},
      {"check box released outside", "release 3 110 100", {3, none, true}, "checked 3 0"},
      {"radio clears its own group",
       "click 6; click 4; click 5",
       {5, click, false},
       "checked 4 0; checked 5 1; checked 6 1; checked 7 0"},
      {"slider press and drag", "press 10 320 50; drag 10 420 50", {10, scroll, false}, "pos 10 100"},
      {"slider drag to the same place", "press 10 320 50; drag 10 320 90", {10, none, false}, "pos 10 50"},
      {"list press", "press 1 50 60", {1, sel, true}, "sel 1 2; focus 1 1"},
      // Drop-downs open at their selection, choose and close.
      {"combo opens", "select 8 6; press 8 50 210", {8, none, true}, "open 8 1; top 8 4"},
      {"combo chooses", "press 8 50 210; press 8 50 289", {8, sel, true}, "open 8 0; sel 8 2"},
      {"another control closes it", "press 8 50 210; press 2 10 130", {2, none, true}, "open 8 0"},
      {"a press beside it only closes it", "press 8 50 210; down 300 600 1", {0, none, true}, "open 8 0; passed 0 0"},
      // The wheel: positive steps turn away from the reader, towards the top.
      {"wheel on a list", "wheel 50 50 -1", {1, none, true}, "top 1 3"},
      {"wheel to the list's end and back", "wheel 50 50 -9; wheel 50 50 1", {1, none, true}, "top 1 3"},
      {"wheel beside the lists", "dropwheel 50 300 -1; wheel 50 180 -1", {}, "top 1 0; top 8 0"},
      {"wheel on an open drop-down", "press 8 50 210; dropwheel 50 300 -5", {8, none, true}, "top 8 4"},
      // Focus keys.
      {"down in a list without a choice", "focus 1; key down", {1, sel, false}, "sel 1 0"},
      {"up in a list", "focus 1; select 1 3; key up", {1, sel, false}, "sel 1 2"},
      {"down at the last item", "focus 1; select 1 9; key down", {1, none, false}, "sel 1 9"},
      {"keys to a hidden list", "focus 1; hide 1; key down", {}, "sel 1 -1"},
      {"typing into an edit", "focus 9; key 1; key 2; key 3; key up; key back", {9, none, false}, "text 9 2"},
      // Gestures: the scroll bar, dragging the items, double-clicks.
      {"scroll bar press and drag", "down 190 56 1; move 190 300", {0, none, true}, "top 1 6; sel 1 -1; passed 0 0"},
      {"a small move is the list's", "down 50 60 1; move 50 71", {0, none, false}, "top 1 0; passed 0 1"},
      {"the items follow a drag", "wheel 50 50 -1; down 50 60 1; move 50 116", {0, none, true}, "top 1 1; passed 0 0"},
      {"double-click on one item", "tap 50 60 1; tap 50 60 2", {1, dbl, false}, "sel 1 2"},
      {"pair on two items", "tap 50 60 1; tap 50 90 2", {1, sel, true}, "sel 1 3"},
      {"second click past the double-click time", "tap 50 60 1; tap 50 60 1", {1, none, true}, ""},
      {"drag between the clicks", "down 50 60 1; move 50 100; up; tap 50 60 2", {1, none, true}, ""},
      {"second click after a refill", "refill; tap 50 60 1; tap 50 40 2", {1, none, false}, "sel 1 -1; passed 0 0"},
      {"third click after a refill", "refill; tap 50 60 1; tap 50 40 2; tap 50 40 3", {1, sel, true}, "sel 1 1"},
  };
  for (const WidgetCase& c : cases) {
    Hands h;
    Outcome out;
    for (const std::string& input : split(c.inputs)) out = h.run(input);
    EXPECT_EQ(out.control, c.expected.control) << c.what;
    EXPECT_EQ(out.notify, c.expected.notify) << c.what;
    EXPECT_EQ(out.redraw, c.expected.redraw) << c.what;
    for (const std::string& check : split(c.holds)) {
      std::istringstream in(check);
      std::string field;
      int id = 0, value = 0;
      in >> field >> id >> value;
      EXPECT_EQ(h.probe(field, id), value) << c.what << ": " << check;
    }
  }
}
