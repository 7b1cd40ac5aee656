// The application shell end to end through the script front end: start-up,
// the OK and back actions, the exit question, the settings toggle, panels
// and the quit button.
#include <gtest/gtest.h>

#include <optional>
#include <set>
#include <string>
#include <vector>

#include "host/instance.h"
#include "tests/harness.h"
#include "tools/fixtures/fixtures.h"

using zeb::fixtures::TempDir;
using zeb::testing::run_script;

namespace {

struct Library {
  TempDir root, settings;
  std::string book;
  explicit Library(int pages = 3) {
    book = root / "book";
    zeb::fixtures::make_dirs(book);
    for (int i = 1; i <= pages; ++i) {
      char name[32];
      std::snprintf(name, sizeof name, "/p%d.jpg", i);
      zeb::fixtures::write_jpeg(book + name, 64, 48, {.number = i});
    }
  }
  std::string cfg(const std::string& name) const { return settings / ("ZEB_CFG/" + name); }
};

std::set<int> visible_ids(const zeb::testing::ScriptRun& run) {
  std::set<int> ids;
  for (const auto& c : run.controls())
    if (!c.is_null() && c["visible"].get<bool>()) ids.insert(c["id"].get<int>());
  return ids;
}

std::string query_all_controls() {
  std::string s;
  for (int id = 1000; id <= 1100; ++id) s += "control " + std::to_string(id) + "\n";
  return s;
}

}  // namespace

TEST(Startup, first_start_writes_settings_files_and_shows_the_browser) {
  Library lib;
  auto run = run_script(lib.root.path(), lib.settings.path(), "state\n");
  ASSERT_EQ(run.status, 0) << run.err;
  auto st = run.last_state();
  EXPECT_EQ(st["SC_MODE"], -1);
  EXPECT_EQ(st["panel_mode"], 1);
  EXPECT_EQ(st["viewing"], 0);
  EXPECT_EQ(st["bg_color"], 0xFFFFFF);
  EXPECT_EQ(st["picker_x"], 180);
  EXPECT_TRUE(zeb::fixtures::read_file(lib.cfg("zeb.cfg")).find("MAX_BLOG=50\r\n") != std::string::npos);
  EXPECT_EQ(zeb::fixtures::read_file(lib.cfg("auto_bk.dat")), "");
  EXPECT_TRUE(zeb::fixtures::read_file(lib.cfg("key.cfg")).rfind("AP00=0\r\nAP01=2\r\n", 0) == 0);
}

TEST(Startup, location_argument_opens_that_folder_and_bad_ones_fail) {
  Library lib;
  auto run = run_script(lib.root.path(), lib.settings.path(), "state\ncontrol 1003\n", {lib.book});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.last_state()["LastDir"], "\\book");
  EXPECT_EQ(run.controls()[0]["items"].size(), 3u);

  auto outside = run_script(lib.book, lib.settings.path(), "state\n", {lib.root.path()});
  EXPECT_EQ(outside.status, 2);
  EXPECT_TRUE(outside.lines.empty());
  auto missing = run_script(lib.root.path(), lib.settings.path(), "state\n", {lib.root / "nothing"});
  EXPECT_EQ(missing.status, 2);
}

// A start that is refused ends with status 2 and one line saying why, before
// any output and without writing a settings file. While another viewer
// holds the settings folder, a location that does not exist is still
// refused, but one outside this start's root is handed over: the running
// viewer judges it by its own root.
TEST(Startup, refused_starts_say_why_and_only_existing_locations_are_handed_over) {
  Library lib;
  const std::string notes = lib.root / "notes.txt", missing = lib.root / "nothing";
  zeb::fixtures::write_file(notes, "not a page");
  const std::string outside = "zeb: " + lib.root.path() + " is outside the storage root " + lib.book + "\n";
  const struct {
    bool held;  // another viewer holds the settings folder
    std::vector<std::string> args;
    std::string said;  // empty: handed over
  } cases[] = {
      {false, {"--root"}, "zeb: --root needs a value\n"},
      {false, {"--settings"}, "zeb: --settings needs a value\n"},
      {false, {"--bogus"}, "zeb: unknown option --bogus\n"},
      {false, {lib.book, lib.book}, "zeb: only one location may be given\n"},
      {false, {missing}, "zeb: " + missing + " does not exist\n"},
      {false, {"--root", lib.book, lib.root.path()}, outside},
      {false, {notes}, "zeb: " + notes + " is neither a folder, an archive nor a JPEG page\n"},
      {true, {missing}, "zeb: " + missing + " does not exist\n"},
      {true, {"--root", lib.book, lib.root.path()}, ""},
  };
  for (const auto& c : cases) {
    std::optional<zeb::platform::InstanceGuard> first;
    if (c.held) first.emplace(lib.settings / "ZEB_CFG");
    const auto run = run_script(lib.root.path(), lib.settings.path(), "state\n", c.args);
    EXPECT_EQ(run.err, c.said);
    if (c.said.empty()) {
      EXPECT_EQ(run.status, 0);
      ASSERT_EQ(run.lines.size(), 1u);
      EXPECT_EQ(run.lines[0], (nlohmann::json{{"already_running", true}}));
    } else {
      EXPECT_EQ(run.status, 2) << c.said;
      EXPECT_TRUE(run.lines.empty()) << c.said;
    }
    EXPECT_EQ(zeb::fixtures::read_file(lib.cfg("zeb.cfg")), "") << c.said;
  }
}

TEST(Startup, mode_five_in_configuration_enables_only_size_x) {
  Library lib;
  zeb::fixtures::make_dirs(lib.settings / "ZEB_CFG");
  std::string cfg = "x=0\r\nx=0\r\nLastDir=\\\r\nv_mode=5\r\n";
  zeb::fixtures::write_file(lib.cfg("zeb.cfg"), cfg);
  auto run = run_script(lib.root.path(), lib.settings.path(), "control 1031\ncontrol 1032\ncontrol 1037\ncontrol 1038\n");
  auto c = run.controls();
  ASSERT_EQ(c.size(), 4u);
  EXPECT_TRUE(c[0]["enabled"].get<bool>());
  EXPECT_FALSE(c[1]["enabled"].get<bool>());
  EXPECT_EQ(c[2]["text"], "Size");
  EXPECT_EQ(c[3]["text"], " ");
}

TEST(Script, unparsable_line_stops_with_status_two_before_running_further) {
  Library lib;
  auto run = run_script(lib.root.path(), lib.settings.path(), "# comment\n\nstate\ntick x\nstate\n");
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.lines.size(), 1u);
  EXPECT_NE(run.err.find("line 4:"), std::string::npos);
}

TEST(MainWindow, ok_opens_then_turns_and_wraps_from_last_page) {
  Library lib;
  auto run = run_script(lib.root.path(), lib.settings.path(),
                        "select 1003 1\ntick 7\nok\nstate\nok\nstate\nok\nstate\n", {lib.book});
  ASSERT_EQ(run.status, 0) << run.err;
  std::vector<int> pages, viewing;
  for (const auto& l : run.lines)
    if (l.contains("state")) {
      pages.push_back(l["state"]["page_index"]);
      viewing.push_back(l["state"]["viewing"]);
    }
  EXPECT_EQ(pages, (std::vector<int>{1, 2, 0}));
  EXPECT_EQ(viewing, (std::vector<int>{1, 1, 1}));
}

TEST(MainWindow, back_in_page_view_returns_to_browser_without_asking) {
  Library lib;
  auto run = run_script(lib.root.path(), lib.settings.path(),
                        "select 1003 2\ntick 7\ndblclick 1003\ncancel\nstate\ncontrol 1003\n", {lib.book});
  EXPECT_TRUE(run.message_boxes().empty());
  EXPECT_EQ(run.last_state()["viewing"], 0);
  EXPECT_EQ(run.controls()[0]["selection"], 2);
  EXPECT_TRUE(run.controls()[0]["focused"].get<bool>());
}

TEST(MainWindow, exit_question_no_keeps_running_yes_saves_and_ends) {
  Library lib;
  std::remove(lib.cfg("zeb.cfg").c_str());
  auto no = run_script(lib.root.path(), lib.settings.path(), "cancel\nstate\n");
  ASSERT_EQ(no.message_boxes().size(), 1u);
  EXPECT_EQ(no.message_boxes()[0]["text"], "終了しますか？");
  EXPECT_EQ(no.message_boxes()[0]["caption"], "ZEBの終了");
  EXPECT_EQ(no.last_state()["exit_guard"], 0);

  auto yes = run_script(lib.root.path(), lib.settings.path(),
                        "select 1003 1\ntick 7\nclick 1074\nanswer yes\ncancel\nstate\n", {lib.book});
  EXPECT_EQ(yes.status, 0);
  EXPECT_TRUE(yes.last_state().is_null());  // nothing runs after the window ended
  const std::string cfg = zeb::fixtures::read_file(lib.cfg("zeb.cfg"));
  EXPECT_NE(cfg.find("SO_CH=1\r\n"), std::string::npos);
  EXPECT_NE(cfg.find("LastDir=\\book\r\n"), std::string::npos);
}

TEST(MainWindow, quit_button_ends_without_writing) {
  Library lib;
  run_script(lib.root.path(), lib.settings.path(), "state\n");
  const std::string before = zeb::fixtures::read_file(lib.cfg("zeb.cfg"));
  auto run = run_script(lib.root.path(), lib.settings.path(),
                        "click 1074\nclick 1021\ncontrol 1070\nclick 1070\nstate\n", {lib.book});
  EXPECT_EQ(run.status, 0);
  ASSERT_EQ(run.controls().size(), 1u);
  EXPECT_TRUE(run.controls()[0]["visible"].get<bool>());
  EXPECT_TRUE(run.last_state().is_null());
  EXPECT_EQ(zeb::fixtures::read_file(lib.cfg("zeb.cfg")), before);
}

TEST(Panels, settings_toggled_twice_leaves_browser_controls_plus_quit_button) {
  Library lib;
  auto first = run_script(lib.root.path(), lib.settings.path(), query_all_controls());
  auto twice = run_script(lib.root.path(), lib.settings.path(),
                          "click 1021\ncontrol 1021\nclick 1021\ncontrol 1021\n" + query_all_controls());
  auto captions = twice.controls();
  EXPECT_EQ(captions[0]["text"], "戻る");
  EXPECT_EQ(captions[1]["text"], "設定");
  std::set<int> expected = visible_ids(first);
  expected.insert(1070);
  std::set<int> after = visible_ids(twice);
  EXPECT_EQ(after, expected);
  const std::set<int> browser = {1000, 1001, 1003, 1021, 1026, 1034, 1035, 1042, 1043,
                                 1067, 1068, 1073, 1074, 1083, 1090};
  for (int id : browser) EXPECT_TRUE(after.count(id)) << id;
}

TEST(Panels, settings_panel_shows_mode_controls_and_hides_browser) {
  Library lib;
  auto run = run_script(lib.root.path(), lib.settings.path(),
                        "click 1021\nstate\ncontrol 1014\ncontrol 1044\ncontrol 1003\ncontrol 1049\n");
  auto c = run.controls();
  EXPECT_TRUE(c[0]["visible"].get<bool>());
  EXPECT_TRUE(c[1]["visible"].get<bool>());
  EXPECT_TRUE(c[1]["checked"].get<bool>());
  EXPECT_FALSE(c[2]["visible"].get<bool>());
  EXPECT_EQ(run.last_state()["settings_open"], 1);
}

TEST(Startup, second_instance_on_same_settings_reports_and_exits_zero) {
  Library lib;
  zeb::platform::InstanceGuard first(lib.settings / "ZEB_CFG");
  ASSERT_FALSE(first.already_running());
  auto run = run_script(lib.root.path(), lib.settings.path(), "state\n");
  EXPECT_EQ(run.status, 0);
  ASSERT_EQ(run.lines.size(), 1u);
  EXPECT_EQ(run.lines[0], (nlohmann::json{{"already_running", true}}));
  EXPECT_TRUE(first.take_requests().raise);
}

namespace {

// Red pixels in a rectangle of a binary PPM screenshot.
int red_pixels(const std::string& ppm, int x0, int y0, int w, int h) {
  const std::string data = zeb::fixtures::read_file(ppm);
  const size_t start = data.find("255\n");
  if (start == std::string::npos) return -1;
  const auto* px = reinterpret_cast<const unsigned char*>(data.data() + start + 4);
  int count = 0;
  for (int y = y0; y < y0 + h; ++y)
    for (int x = x0; x < x0 + w; ++x) {
      const unsigned char* p = px + (static_cast<size_t>(y) * 480 + x) * 3;
      if (p[0] > 150 && p[1] < 90 && p[2] < 90) ++count;
    }
  return count;
}

}  // namespace

TEST(Panels, picker_shows_the_selected_start_position_after_its_repaint) {
  Library lib;
  const std::string shot = lib.root / "picker.ppm";
  auto run = run_script(lib.root.path(), lib.settings.path(),
                        "dblclick 1003\ntap 240 600\ntick 3\nshot " + shot + "\n", {lib.book});
  ASSERT_EQ(run.status, 0) << run.err;
  // Start position right/top (the defaults) is the top-right cell of the
  // picker at (360, 372); the top-left cell stays in the unselected look.
  EXPECT_GT(red_pixels(shot, 440, 372, 40, 40), 0);
  EXPECT_EQ(red_pixels(shot, 360, 372, 40, 40), 0);
}
