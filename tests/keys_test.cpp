// Hardware keys: button polling, requests, learning, the key-setting panel
// and the key binding file.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/controls.h"
#include "app/key_file.h"
#include "app/key_handlers.h"
#include "core/control_ids.h"
#include "input/keys.h"
#include "settings/key_bindings.h"
#include "tests/harness.h"
#include "tests/test_host.h"
#include "tools/fixtures/fixtures.h"

namespace zeb {
namespace {

constexpr int kVkLeft = 0x25, kVkUp = 0x26;
constexpr ViewerState::GxKeys kGameKeys = {0xC1, 0xC2, 0xC3, 0xC4};

std::string default_file() {
  return "AP00=0\r\nAP01=2\r\nAP02=3\r\nAP03=9\r\nAP04=1\r\n"
         "AP05=0\r\nAP06=0\r\nAP07=0\r\nAP08=0\r\nAP09=0\r\nAP10=0\r\nAP11=0\r\nAP12=0\r\n"
         "AP13=0\r\nAP14=0\r\nAP15=0\r\nAP16=0\r\nAP17=0\r\nAP18=0\r\nAP19=0\r\nAP20=0\r\n"
         "AP21=6\r\nAP22=7\r\nAP23=5\r\nAP24=4\r\n";
}

// The default file with its line `line` (1-based) replaced.
std::string with_line(int line, const std::string& text) {
  std::string file = default_file();
  std::size_t start = 0;
  for (int i = 1; i < line; ++i) start = file.find('\n', start) + 1;
  return file.replace(start, file.find('\n', start) - start + 1, text + "\r\n");
}

TEST(KeyBindingFile, lines_are_read_by_position_with_the_atoi_rule) {
  EXPECT_EQ(key_bindings_text(default_key_actions()), default_file());
  EXPECT_EQ(parse_key_bindings(default_file()), default_key_actions());
  EXPECT_EQ(parse_key_bindings(with_line(8, "AP07= 3"))[7], 3);
  EXPECT_EQ(parse_key_bindings(with_line(8, "AP07=x3"))[7], 0);
  EXPECT_EQ(parse_key_bindings(with_line(8, "AP07"))[7], 0);   // no "="
  EXPECT_EQ(parse_key_bindings(with_line(3, "AP09=4"))[2], 4);  // misplaced line
  const KeyActions three = parse_key_bindings("AP00=0\r\nAP01=2\r\nAP02=3\r\n");
  EXPECT_EQ(three[2], 3);
  for (int k = 3; k < kKeySlots; ++k) EXPECT_EQ(three[k], 0) << k;
}

TEST(KeyBindingFile, buttons_are_polled_in_order_whatever_key_came) {
  platform::KeyState keys;
  EXPECT_EQ(held_button(keys, kGameKeys), 0);
  keys.set(kVkLeft, true);
  EXPECT_EQ(held_button(keys, kGameKeys), 21);
  keys.set(0xC1, true);  // game key A, also the scan key of button 6
  EXPECT_EQ(held_button(keys, kGameKeys), 1);
  keys = {};
  keys.set(0xC5, true);
  EXPECT_EQ(held_button(keys, kGameKeys), 10);
  keys = {};
  keys.set(kVkUp, true);
  EXPECT_EQ(held_button(keys, kGameKeys), 24);
}

class KeysTest : public ::testing::Test {
 protected:
  KeysTest() : v(p) {
    p.host = &host;
    p.app_dir_host = dir.path();
    create_controls(v);
    v.state.gx_keys = kGameKeys;
    const char16_t* actions[] = {u"指定なし", u"次のページ", u"前のページ", u"戻る＆終了",
                                 u"上移動", u"下移動", u"左移動", u"右移動",
                                 u"ウインドウの再描画", u"最小化"};
    for (int i = 0; i < 10; ++i) v.dialog.insert_item(ctl::key_action_combo, i, actions[i]);
  }
  void press(int vk) {
    p.keys.set(vk, true);
    on_key_message(v, {true, vk, 1});
    p.keys.set(vk, false);
  }
  std::string key_file() const { return fixtures::read_file(dir.path() + "/ZEB_CFG/key.cfg"); }

  fixtures::TempDir dir;
  zeb::testing::TestHost host;
  platform::Platform p;
  Viewer v;
};

TEST_F(KeysTest, bound_buttons_request_actions_and_any_release_stops_scrolling) {
  press(0xC1);
  EXPECT_EQ(v.state.key_state, 10);  // A: previous page
  on_key_message(v, {false, 0xC1, 1});
  EXPECT_EQ(v.state.key_state, 10);  // a release stops only scrolling
  press(kVkUp);
  EXPECT_EQ(v.state.key_state, 21);
  on_key_message(v, {false, 'Q', 1});
  EXPECT_EQ(v.state.key_state, 0);
  v.state.key_actions[2] = 12;
  press(0xC2);
  EXPECT_EQ(v.state.key_state, 0);  // an action out of range binds nothing
  on_key_message(v, {true, 0xFFFF, 1});
  EXPECT_EQ(v.state.last_key, -1);  // a signed 16-bit key code

  v.state.key_learn = 1;
  v.dialog.set_selection(ctl::key_action_combo, 0);  // "指定なし" learns nothing
  press(0xC1);
  EXPECT_EQ(v.state.key_actions[1], 2);
  EXPECT_EQ(v.dialog.item_count(ctl::key_list), 0);
}

TEST_F(KeysTest, key_up_text_names_the_last_key_and_the_repeat_count) {
  on_key_message(v, {true, 65, 1});
  on_key_up_reached_window(v, {false, 65, 0x0001FFFF});
  EXPECT_EQ(v.dialog.text(ctl::key_name_edit), u"keyu=65::-1");
  on_key_message(v, {true, 229, 1});
  on_key_up_reached_window(v, {false, 229, 3});
  EXPECT_EQ(v.dialog.text(ctl::key_name_edit), u"keyu=65::-1");
}

TEST_F(KeysTest, missing_file_is_created_and_unbind_changes_only_a_named_slot) {
  read_key_bindings(v);
  EXPECT_EQ(key_file(), default_file());
  EXPECT_EQ(v.dialog.item_count(ctl::key_list), 0);
  read_key_bindings(v);
  ASSERT_EQ(v.dialog.item_count(ctl::key_list), 8);
  on_key_unbind_clicked(v);  // no row selected
  EXPECT_EQ(v.dialog.item_count(ctl::key_list), 8);

  v.dialog.set_selection(ctl::key_action_list, 4);  // ボタン21
  on_key_unbind_clicked(v);
  EXPECT_EQ(v.state.key_actions[21], 0);
  EXPECT_EQ(v.dialog.item_text(ctl::key_list, 4), u"ボタン22");
  EXPECT_EQ(v.dialog.item_count(ctl::key_action_list), 7);

  v.dialog.delete_item(ctl::key_list, 0);
  v.dialog.insert_item(ctl::key_list, 0, u"ボタン99");
  v.dialog.set_selection(ctl::key_action_list, 0);
  on_key_unbind_clicked(v);
  EXPECT_EQ(v.dialog.item_count(ctl::key_list), 7);
  EXPECT_EQ(v.state.key_actions, [] { KeyActions a = default_key_actions(); a[21] = 0; return a; }());

  EXPECT_EQ(key_file(), default_file());  // only saving writes the file
  on_key_save_clicked(v);
  EXPECT_EQ(key_file(), with_line(22, "AP21=0"));
  on_key_reset_clicked(v);
  EXPECT_EQ(key_file(), default_file());
  EXPECT_EQ(v.dialog.item_count(ctl::key_list), 8);
}

// A folder "book" of small pages under a fresh storage root.
struct Book {
  fixtures::TempDir root, settings;
  Book() {
    fixtures::make_dirs(root / "book");
    for (int i = 1; i <= 3; ++i)
      fixtures::write_jpeg(root / ("book/p" + std::to_string(i) + ".jpg"), 64, 48);
  }
  std::string key_cfg() const { return settings / "ZEB_CFG/key.cfg"; }
  testing::ScriptRun run(const std::string& script) {
    return testing::run_script(root.path(), settings.path(), script, {root / "book"});
  }
};

TEST(KeysScript, previous_page_key_waits_until_the_settings_panel_closes) {
  Book book;
  const testing::ScriptRun run = book.run("click 1021\nkey a press\ntick 3\nstate\nclick 1021\ntick\nstate\n");
  ASSERT_EQ(run.status, 0) << run.err;
  const auto states = run.states();
  ASSERT_EQ(states.size(), 2u);
  EXPECT_EQ(states[0]["key_state"], 10);
  EXPECT_EQ(states[0]["viewing"], 0);
  EXPECT_EQ(states[1]["key_state"], -1);
  EXPECT_EQ(states[1]["viewing"], 1);  // the selected page is opened
}

TEST(KeysScript, arrow_keys_in_the_page_view_scroll_and_never_choose_another_page) {
  // Pages taller than the screen; back in the browser and into the page
  // view again, the page list keeps the focus behind the page view. A held
  // key sends repeated presses, as a desktop's auto-repeat does.
  fixtures::TempDir root, settings;
  fixtures::make_dirs(root / "book");
  for (int i = 1; i <= 4; ++i) fixtures::write_jpeg(root / ("book/p" + std::to_string(i) + ".jpg"), 480, 1600);
  std::string script = "dblclick 1003\ntick\nkey escape press\ntick\nkey enter press\ntick\nkey down down\n";
  for (int i = 0; i < 20; ++i) script += "tick\nkey down down\n";
  script +=
      "state\nkey down up\nkey up down\ntick 3\nkey up up\ntick 8\nstate\n"
      "key escape press\ntick\nkey down press\ntick 8\nstate\n";
  const testing::ScriptRun run = testing::run_script(root.path(), settings.path(), script, {root / "book"});
  ASSERT_EQ(run.status, 0) << run.err;
  const auto states = run.states();
  ASSERT_EQ(states.size(), 3u);
  EXPECT_EQ(states[0]["page_index"], 0);
  EXPECT_EQ(states[0]["scroll_y"], 1600 - 640);  // held down to the bottom of the first page
  EXPECT_EQ(states[1]["page_index"], 0);
  EXPECT_LT(states[1]["scroll_y"], 1600 - 640);
  // In the browser the list is shown and the arrow moves its selection.
  EXPECT_EQ(states[2]["viewing"], 0);
  EXPECT_EQ(states[2]["page_index"], 1);
}

TEST(KeysScript, three_line_file_unbinds_the_arrows_and_start) {
  Book book;
  fixtures::make_dirs(book.settings / "ZEB_CFG");
  fixtures::write_file(book.key_cfg(), "AP00=0\r\nAP01=2\r\nAP02=3\r\n");
  const testing::ScriptRun run = book.run("dblclick 1003\nkey left down\nkey start press\ntick\nstate\n");
  ASSERT_EQ(run.status, 0) << run.err;
  const auto states = run.states();
  ASSERT_EQ(states.size(), 1u);
  EXPECT_EQ(states[0]["key_actions"][21], 0);
  EXPECT_EQ(states[0]["page_index"], 0);
  EXPECT_EQ(states[0]["key_state"], 0);
  // Start-up writes the bindings back in full.
  const std::string file = fixtures::read_file(book.key_cfg());
  EXPECT_EQ(file.rfind("AP00=0\r\nAP01=2\r\nAP02=3\r\nAP03=0\r\n", 0), 0u);
  EXPECT_NE(file.find("AP24=0\r\n"), std::string::npos);
}

TEST(KeysScript, learning_a_listed_key_again_moves_it_to_the_end_and_saves) {
  Book book;
  const testing::ScriptRun run = book.run(
      "click 1021\nclick 1077\nselect 1080 1\nkey right press\n"
      "control 1078\ncontrol 1079\nclick 1082\nclick 1077\nstate\n");
  ASSERT_EQ(run.status, 0) << run.err;
  const auto controls = run.controls();
  ASSERT_EQ(controls.size(), 2u);
  const auto& keys = controls[0]["items"];
  ASSERT_EQ(keys.size(), 8u);
  EXPECT_EQ(keys[5], "ボタン23");
  EXPECT_EQ(keys.back(), "ボタン22");
  EXPECT_EQ(controls[1]["items"].back(), "次のページ");
  const auto states = run.states();
  EXPECT_EQ(states[0]["key_learn"], 0);
  EXPECT_EQ(states[0]["settings_open"], 1);
  EXPECT_NE(fixtures::read_file(book.key_cfg()).find("AP22=1\r\n"), std::string::npos);
}

}  // namespace
}  // namespace zeb
