#pragma once
// The dialog model: the main window's child controls as plain data, with the
// operations the viewer uses on them. Lists and combos hold ordered UTF-16
// items addressed by position. Every operation on an unknown id or an index
// out of range does nothing and answers with an empty or -1 result, the way
// the platform's controls ignore bad messages.
#include <memory>
#include <string>
#include <vector>

#include "widgets/bitmap.h"

namespace zeb::platform {

// Height of one list item and of a closed combo box, in pixels; a combo's
// drop-down shows at most kComboDropItems items below the box.
constexpr int kListItemHeight = 28;
constexpr int kComboDropItems = 8;

enum class Kind { edit, list, combo, button, check_box, radio, static_text, picture, slider };

struct Control {
  int id = 0;
  Kind kind = Kind::static_text;
  std::u16string text;  // caption, or the edit's / combo's text field
  bool visible = false;
  bool enabled = true;
  Rect rect;  // screen pixels
  // Styles.
  bool sorted_style = false;  // has no effect on insertion order
  bool notify = false;
  bool numeric = false;      // edit accepting digits only
  bool lower_case = false;   // edit that lower-cases what it is given
  bool editable = false;     // combo with an editable text field
  bool group_start = false;  // first radio button of a group
  // Lists and combos.
  std::vector<std::u16string> items;
  int selection = -1;
  int top_index = 0;  // first visible item (drawing and scrolling)
  // Times the items were cleared to be filled anew: the window front end
  // tells by it that a choice refilled the list under the pointer.
  unsigned refills = 0;
  bool dropped_down = false;  // combo list open (window front end)
  // Check boxes and radio buttons.
  bool checked = false;
  // Slider.
  int pos = 0, range_min = 0, range_max = 0;
  // Push button drawn pressed (window front end).
  bool pressed = false;
  // Text colour chosen by the control-colour handler; -1 = default.
  long long text_color = -1;
  // Caret position in an edit (window front end), in UTF-16 units.
  int caret = 0;
  // What a picture control shows, stretched over its rectangle; none draws
  // nothing.
  std::shared_ptr<const Bitmap> picture;
};

// Number of whole items a list box shows at once.
inline int list_visible_rows(const Control& list) {
  const int rows = list.rect.h / kListItemHeight;
  return rows > 1 ? rows : 1;
}

class Dialog {
 public:
  Control& add(Control control);
  Control* find(int id);
  const Control* find(int id) const;

  // Lists and combos. insert_item with index -1 appends; returns the index
  // used, or -1 when the index is out of range or the id is no list.
  int insert_item(int id, int index, const std::u16string& text);
  // Adds keeping the items in ascending order (the preset box); returns index.
  int add_item_sorted(int id, const std::u16string& text);
  // Removes an item; returns the remaining count, or -1.
  int delete_item(int id, int index);
  // Removes `count` items from `index` on at once, as that many delete_item
  // calls at `index` would; returns the remaining count, or -1 when the
  // range does not lie inside the list.
  int delete_items(int id, int index, int count);
  // Removes every item and the selection, counting a refill.
  void clear_items(int id);
  int item_count(int id) const;
  std::u16string item_text(int id, int index) const;  // "" when out of range
  std::vector<std::u16string> items(int id) const;    // all of them, in order
  // Selects one item (-1 clears); out-of-range indexes clear the selection.
  // A list scrolls so that the selected item is in view.
  void set_selection(int id, int index);
  int selection(int id) const;
  // Swaps two items in place (sorting), selection untouched.
  void swap_items(int id, int a, int b);

  // Text of edits, buttons, statics; a lower-case edit lower-cases A-Z.
  void set_text(int id, const std::u16string& text);
  std::u16string text(int id) const;

  void set_check(int id, bool checked);
  bool checked(int id) const;

  void set_range(int id, int lo, int hi);
  void set_pos(int id, int pos);
  int pos(int id) const;

  void enable(int id, bool enabled);
  bool enabled(int id) const;
  void show(int id, bool visible);
  bool visible(int id) const;
  void move(int id, Rect pixels);

  void set_focus(int id);
  int focus() const { return focus_; }

  // Keyboard input for the focused control: a typed character goes into an
  // edit (digits only for numeric edits), backspace deletes before the caret.
  void type_char(char16_t ch);
  void backspace();

  std::vector<Control>& controls() { return controls_; }
  const std::vector<Control>& controls() const { return controls_; }

 private:
  std::vector<Control> controls_;  // dialog order
  int focus_ = 0;
};

}  // namespace zeb::platform
