// The desktop's own input and hand-overs, through the script front end:
// page keys, the wheel, the close button, pages named on the command line
// and locations handed over by a later start.
#include <gtest/gtest.h>

#include <cstdio>

#include "host/files.h"
#include "host/instance.h"
#include "host/text.h"
#include "tests/harness.h"
#include "tools/fixtures/fixtures.h"

namespace {

namespace fx = zeb::fixtures;
using zeb::testing::run_script;
using zeb::testing::run_steps;
using zeb::testing::ScriptRun;

struct Library {
  fx::TempDir root, settings;
  std::string book, other;
  explicit Library(int pages = 5) : book(root / "book"), other(root / "other") {
    fx::make_dirs(book);
    fx::make_dirs(other);
    for (int i = 1; i <= pages; ++i) fx::write_jpeg(page(i), 64, 48, {.number = i});
    fx::write_jpeg(other + "/x1.jpg", 64, 48, {.number = 9});
    fx::write_jpeg(other + "/x2.jpg", 64, 48, {.number = 8});
  }
  std::string page(int i) const {
    char name[32];
    std::snprintf(name, sizeof name, "/p%d.jpg", i);
    return book + name;
  }
  std::string cfg(const std::string& name) const { return settings / ("ZEB_CFG/" + name); }
};

// The page index and status line after each `state` of a run.
std::vector<int> indexes(const ScriptRun& run) {
  std::vector<int> found;
  for (const auto& st : run.states()) found.push_back(st["page_index"].get<int>());
  return found;
}

constexpr const char* kOpenBook = "dblclick 1003\ntick\n";

}  // namespace

TEST(DesktopKeys, page_keys_turn_pages_in_the_page_view_as_the_buttons_do) {
  Library lib;
  const std::string script = std::string(kOpenBook) +
                             "key pagedown press\ntick\nstate\n"
                             "key space press\ntick\nstate\n"
                             "key pageup press\ntick\nstate\n"
                             "key end press\nstate\n"
                             "key pagedown press\ntick\nstate\n"  // past the last page: the first
                             "key pageup press\ntick\nstate\n"    // before the first: the last
                             "key home press\nstate\ncontrol 1043\n";
  auto run = run_script(lib.root.path(), lib.settings.path(), script + "control 1003\n", {lib.book});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(indexes(run), (std::vector<int>{1, 2, 1, 4, 0, 4, 0}));
  // Each page shown is recorded as the book's page, as a turn by a button is.
  const auto pages = run.controls()[1]["items"];
  for (const auto& st : run.states()) EXPECT_EQ(st["LastFName"], pages[st["page_index"].get<int>()]);
  EXPECT_EQ(run.controls()[0]["text"], "   1/   5[" + pages[0].get<std::string>() + "]");
  EXPECT_EQ(run.last_state()["key_state"], -1);
}

TEST(DesktopKeys, home_and_end_never_wrap_and_show_the_page_at_once) {
  Library lib;
  auto run = run_script(lib.root.path(), lib.settings.path(),
                        std::string(kOpenBook) +
                            "key end press\nkey end press\nstate\nkey home press\n"
                            "key home press\nstate\ncontrol 1003\n",
                        {lib.book});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(indexes(run), (std::vector<int>{4, 0}));
  const auto pages = run.controls()[0]["items"];
  EXPECT_EQ(run.states()[0]["LastFName"], pages[4]);
  EXPECT_EQ(run.states()[1]["LastFName"], pages[0]);
}

TEST(DesktopKeys, page_keys_leave_the_browser_edits_and_learned_bindings_alone) {
  Library lib;
  auto run = run_script(lib.root.path(), lib.settings.path(),
                        // In the browser nothing turns.
                        "key pagedown press\nkey end press\ntick\nstate\n"
                        // A shown edit with the focus keeps its keys.
                        "click 1021\ndown 120 490\nup 120 490\ntype 7\ncontrol 1086\nkey space press\n"
                        "key home press\ntick\nstate\ncontrol 1086\n"
                        // Learning: the page keys are no hardware buttons.
                        "click 1077\nselect 1080 1\ncontrol 1078\nkey pagedown press\nkey space press\n"
                        "key home press\nkey end press\nstate\ncontrol 1078\n",
                        {lib.book});
  ASSERT_EQ(run.status, 0) << run.err;
  const auto states = run.states();
  ASSERT_EQ(states.size(), 3u);
  for (const auto& st : states) {
    EXPECT_EQ(st["viewing"], 0);
    EXPECT_EQ(st["page_index"], 0);
  }
  const auto controls = run.controls();
  ASSERT_EQ(controls.size(), 4u);
  EXPECT_EQ(controls[0]["focused"], true);
  EXPECT_EQ(controls[1], controls[0]);
  EXPECT_EQ(states[2]["key_learn"], 1);
  EXPECT_EQ(states[2]["key_actions"], states[0]["key_actions"]);
  EXPECT_EQ(controls[3]["items"], controls[2]["items"]);
}

TEST(DesktopWheel, wheel_turns_pages_in_the_page_view_and_scrolls_browser_lists) {
  Library lib(30);
  auto run = run_script(lib.root.path(), lib.settings.path(),
                        "wheel 100 300 -1\ncontrol 1003\nstate\n"  // over the page list
                        "wheel 100 300 -2\ncontrol 1003\n"
                        "wheel 100 300 9\ncontrol 1003\n"
                        "wheel 400 600 -1\ncontrol 1003\n"  // beside the lists
                            + std::string(kOpenBook) +
                            "wheel 240 320 -1\ntick\nstate\nwheel 240 320 1\ntick\nstate\n"
                            "wheel 240 320 3\ntick\nstate\n",
                        {lib.book});
  ASSERT_EQ(run.status, 0) << run.err;
  const auto lists = run.controls();
  EXPECT_EQ(lists[0]["top_index"], 3);
  EXPECT_EQ(lists[1]["top_index"], 9);
  EXPECT_EQ(lists[2]["top_index"], 0);
  EXPECT_EQ(lists[3]["top_index"], 0);
  EXPECT_EQ(indexes(run), (std::vector<int>{0, 1, 0, 29}));
}

TEST(DesktopClose, close_saves_like_a_confirmed_exit_from_any_screen) {
  for (const std::string screen : {"tick", "dblclick 1003", "click 1021", "click 1077"}) {
    Library lib;
    // The files written at start are removed: only the close can bring them back.
    auto forget = [&] {
      std::remove(lib.cfg("zeb.cfg").c_str());
      std::remove(lib.cfg("auto_bk.dat").c_str());
    };
    auto run = run_steps(lib.root.path(), lib.settings.path(),
                         {"select 1003 2", "tick 7", screen, "tick", "state", forget, "close", "state"}, {lib.book});
    EXPECT_EQ(run.status, 0) << screen;
    ASSERT_EQ(run.states().size(), 1u) << "the viewer went on after close: " << screen;
    EXPECT_TRUE(run.message_boxes().empty()) << screen;
    EXPECT_TRUE(zeb::platform::host_file_exists(lib.cfg("auto_bk.dat"))) << screen;
    const std::string config = fx::read_file(lib.cfg("zeb.cfg"));
    const std::string page = run.states()[0]["LastFName"];
    EXPECT_NE(config.find("=\\book\r\n"), std::string::npos) << screen << config;
    EXPECT_NE(config.find("=" + page + "\r\n"), std::string::npos) << screen << config;
  }
}

TEST(DesktopOpen, a_page_named_at_start_opens_its_folder_at_that_page) {
  Library lib;
  auto run = run_script(lib.root.path(), lib.settings.path(), "state\ncontrol 1043\ncontrol 1003\n", {lib.page(4)});
  ASSERT_EQ(run.status, 0) << run.err;
  const auto st = run.last_state();
  EXPECT_EQ(st["LastDir"], "\\book");
  EXPECT_EQ(st["viewing"], 1);
  EXPECT_EQ(st["LastFName"], "p4.jpg");
  const int index = st["page_index"];
  EXPECT_EQ(run.controls()[1]["items"][index], "p4.jpg");
  EXPECT_EQ(run.controls()[0]["text"], zeb::text::to_utf8(zeb::text::format("%4d/   5[p4.jpg]", index + 1)));

  ASSERT_TRUE(fx::write_file(lib.book + "/notes.txt", "x"));
  auto other = run_script(lib.root.path(), lib.settings.path(), "state\n", {lib.book + "/notes.txt"});
  EXPECT_EQ(other.status, 2);
  EXPECT_NE(other.err.find("notes.txt"), std::string::npos);
}

TEST(DesktopOpen, a_later_start_hands_its_location_to_the_running_viewer) {
  Library lib;
  fx::TempDir outside;
  fx::write_jpeg(outside / "far.jpg", 64, 48, {.number = 3});
  auto hand_over = [&](const std::string& path) {
    return [&, path] {
      zeb::platform::InstanceGuard later(lib.settings / "ZEB_CFG", path);
      EXPECT_TRUE(later.already_running());
    };
  };
  // The settings panel is open when the first path arrives; the page view
  // when the second comes; the third lies outside the root.
  auto run = run_steps(lib.root.path(), lib.settings.path(),
                       {"click 1021", hand_over(lib.other), "state", "tick", "state", "dblclick 1003", "tick",
                        hand_over(lib.page(2)), "tick", "state", hand_over(outside / "far.jpg"), "tick", "state"},
                       {lib.book});
  ASSERT_EQ(run.status, 0) << run.err;
  const auto states = run.states();
  ASSERT_EQ(states.size(), 4u);
  EXPECT_EQ(states[0]["LastDir"], "\\book");  // served on the next tick only
  EXPECT_EQ(states[1]["LastDir"], "\\other");
  EXPECT_EQ(states[1]["settings_open"], 0);
  EXPECT_EQ(states[1]["viewing"], 0);
  EXPECT_EQ(states[2]["LastDir"], "\\book");
  EXPECT_EQ(states[2]["viewing"], 1);
  EXPECT_EQ(states[2]["LastFName"], "p2.jpg");
  for (const char* field : {"LastDir", "LastFName", "page_index", "viewing"})
    EXPECT_EQ(states[3][field], states[2][field]) << field;
}
