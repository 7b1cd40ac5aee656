// The viewer under faults of its surroundings: settings folders that cannot
// be written, vanish or fill up; page files and archives that change under
// it; huge, empty and oddly named files; and two viewers started at once.
// Each case checks that the viewer keeps running and that every settings
// file is either its previous or its new complete version.
#include <gtest/gtest.h>

#include <sys/mount.h>
#include <unistd.h>

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <functional>
#include <map>
#include <sstream>
#include <streambuf>
#include <variant>

#include "frontend/script/script.h"
#include "tests/harness.h"
#include "tools/fixtures/fixtures.h"

namespace fs = std::filesystem;
namespace fx = zeb::fixtures;
using fx::TempDir;
using nlohmann::json;
using zeb::testing::run_steps;
using zeb::testing::ScriptRun;
using zeb::testing::Step;

namespace {

// Processor time of this test process, all threads: how much work a run
// did, whatever else the machine is running at the time.
double processor_seconds() { return static_cast<double>(std::clock()) / CLOCKS_PER_SEC; }

// A library with one book of numbered pages and a settings folder beside it.
struct Library {
  TempDir root, settings;
  std::string book;
  explicit Library(int pages = 3) : book(root / "book") {
    fx::make_dirs(book);
    for (int i = 1; i <= pages; ++i) fx::write_jpeg(page(i), 64, 48, {.number = i});
  }
  std::string page(int i) const { return book + "/p" + std::to_string(i) + ".jpg"; }
  std::string cfg_dir() const { return settings / "ZEB_CFG"; }
  std::string cfg(const std::string& name) const { return cfg_dir() + "/" + name; }
};

// Every file of a folder, by name.
std::map<std::string, std::string> snapshot(const std::string& dir) {
  std::map<std::string, std::string> files;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(dir, ec))
    files[entry.path().filename().string()] = fx::read_file(entry.path().string());
  return files;
}

int count_lines(const std::string& bytes) {
  int lines = 0;
  for (std::size_t at = 0; (at = bytes.find("\r\n", at)) != std::string::npos; at += 2) ++lines;
  return lines;
}

// A complete configuration is 23 lines, each ended by CR LF, nothing after.
bool complete_configuration(const std::string& bytes) {
  return count_lines(bytes) == 23 && bytes.size() >= 2 && bytes.compare(bytes.size() - 2, 2, "\r\n") == 0;
}

// A session that changes settings, saves a preset and key bindings, and
// ends with the exit question answered Yes: every settings file is written.
const char* const kSavingSession =
    "ok\n"
    "ok\n"
    "cancel\n"
    "click 1074\n"          // automatic sort toggled
    "text 1031 300\n"
    "text 1036 mine\n"
    "answer yes\n"
    "click 1023\n"          // save the preset "mine"
    "click 1077\n"
    "click 1082\n"          // save the key bindings
    "click 1077\n"
    "state\n"
    "answer yes\n"
    "cancel\n";

// A small file system mounted for one test (root only); unmounted at the end.
class Tmpfs {
 public:
  Tmpfs(const std::string& dir, const std::string& size) : dir_(dir) {
    fx::make_dirs(dir);
    const std::string options = "size=" + size;
    mounted_ = geteuid() == 0 && ::mount("tmpfs", dir.c_str(), "tmpfs", 0, options.c_str()) == 0;
  }
  ~Tmpfs() {
    if (mounted_) ::umount2(dir_.c_str(), MNT_DETACH);
  }
  bool mounted() const { return mounted_; }
  bool make_read_only() {
    return ::mount(nullptr, dir_.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) == 0;
  }

 private:
  std::string dir_;
  bool mounted_ = false;
};

// Settings files as a finished session leaves them, copied into `dir`.
void write_saved_settings(const Library& lib, const std::string& dir) {
  TempDir first;
  auto run = zeb::testing::run_script(lib.root.path(), first.path(), kSavingSession, {lib.book});
  ASSERT_EQ(run.status, 0) << run.err;
  for (const auto& [name, bytes] : snapshot(first / "ZEB_CFG")) fx::write_file(dir + "/" + name, bytes);
}

}  // namespace

TEST(SettingsFaults, read_only_settings_folder_runs_silently_and_loses_nothing) {
  Library lib;
  Tmpfs fs_(lib.cfg_dir(), "1m");
  if (!fs_.mounted()) GTEST_SKIP() << "needs root and tmpfs mounts";
  write_saved_settings(lib, lib.cfg_dir());
  ASSERT_TRUE(fs_.make_read_only());
  const auto before = snapshot(lib.cfg_dir());
  ASSERT_EQ(before.size(), 4u);

  auto run = zeb::testing::run_script(lib.root.path(), lib.settings.path(), kSavingSession);
  ASSERT_EQ(run.status, 0) << run.err;
  // The remembered settings were read; only the questions were shown.
  const json state = run.last_state();
  EXPECT_EQ(state["LastDir"], "\\book");
  EXPECT_EQ(state["SO_CH"], 0);  // was on, clicked off this time
  for (const auto& box : run.message_boxes()) EXPECT_EQ(box["answer"], "yes") << box;
  EXPECT_EQ(run.message_boxes().size(), 2u);
  EXPECT_EQ(snapshot(lib.cfg_dir()), before);
}

TEST(SettingsFaults, settings_folder_deleted_while_running_is_made_again_at_exit) {
  Library lib;
  auto run = run_steps(lib.root.path(), lib.settings.path(),
                       {"ok", [&] { fs::remove_all(lib.cfg_dir()); }, "ok", "cancel", "click 1074",
                        "answer yes", "cancel", "state"},
                       {lib.book});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.message_boxes().size(), 1u);
  const std::string cfg = fx::read_file(lib.cfg("zeb.cfg"));
  EXPECT_TRUE(complete_configuration(cfg)) << cfg;
  EXPECT_NE(cfg.find("LastDir=\\book\r\n"), std::string::npos);
  EXPECT_NE(cfg.find("SO_CH=1\r\n"), std::string::npos);
  EXPECT_EQ(fx::read_file(lib.cfg("auto_bk.dat")), "\\book\r\np2.jpg\r\n");
}

TEST(SettingsFaults, full_file_system_during_save_keeps_the_previous_files) {
  Library lib;
  Tmpfs fs_(lib.cfg_dir(), "64k");
  if (!fs_.mounted()) GTEST_SKIP() << "needs root and tmpfs mounts";
  write_saved_settings(lib, lib.cfg_dir());
  {
    // Fill every block that is left.
    std::FILE* filler = std::fopen(lib.cfg("filler").c_str(), "wb");
    ASSERT_NE(filler, nullptr);
    const std::string block(4096, 'x');
    while (std::fwrite(block.data(), 1, block.size(), filler) == block.size() && std::fflush(filler) == 0) {
    }
    std::fclose(filler);
  }
  const auto before = snapshot(lib.cfg_dir());

  auto full = zeb::testing::run_script(lib.root.path(), lib.settings.path(), kSavingSession);
  ASSERT_EQ(full.status, 0) << full.err;
  EXPECT_EQ(full.message_boxes().size(), 2u);
  EXPECT_EQ(snapshot(lib.cfg_dir()), before);  // no file changed, no temporary file left

  // With room again, the next save writes complete new files.
  fs::remove(lib.cfg("filler"));
  auto again = zeb::testing::run_script(lib.root.path(), lib.settings.path(), "click 1074\nanswer yes\ncancel\n");
  ASSERT_EQ(again.status, 0) << again.err;
  const std::string cfg = fx::read_file(lib.cfg("zeb.cfg"));
  EXPECT_TRUE(complete_configuration(cfg)) << cfg;
  EXPECT_NE(cfg.find("SO_CH=0\r\n"), std::string::npos);
  EXPECT_EQ(snapshot(lib.cfg_dir()).size(), 4u);
}

TEST(PageFaults, pages_deleted_or_replaced_after_listing_leave_the_viewer_running) {
  Library lib(4);
  auto run = run_steps(lib.root.path(), lib.settings.path(),
                       {[&] {
                          fs::remove(lib.page(2));
                          fx::write_jpeg(lib.page(3), 100, 50, {.grey = true});
                          fx::write_file(lib.page(4), "not a picture at all");
                        },
                        "click 1026", "tick",  // name order
                        "ok", "state",   // page 1 as listed
                        "ok", "state",   // page 2 is gone
                        "ok", "state",   // page 3 is another picture now
                        "ok", "state",   // page 4 is not a JPEG
                        "ok", "state"},  // back to page 1
                       {lib.book});
  ASSERT_EQ(run.status, 0) << run.err;
  const std::vector<nlohmann::json> states = run.states();
  ASSERT_EQ(states.size(), 5u);
  EXPECT_EQ(states[0]["page_width"], 64);
  EXPECT_TRUE(states[1]["page_bitmap"].is_null());
  EXPECT_EQ(states[1]["page_index"], 1);
  EXPECT_EQ(states[2]["page_width"], 100);
  EXPECT_EQ(states[2]["page_height"], 50);
  EXPECT_TRUE(states[3]["page_bitmap"].is_null());
  EXPECT_EQ(states[4]["page_index"], 0);
  EXPECT_EQ(states[4]["page_width"], 64);
}

TEST(PageFaults, archive_truncated_while_open_abandons_the_lost_pages) {
  Library lib;
  std::vector<fx::ZipEntry> entries;
  for (int i = 1; i <= 4; ++i)
    entries.push_back({"p" + std::to_string(i) + ".jpg", fx::jpeg_bytes(64, 48, {.number = i})});
  const std::string zip = fx::zip_bytes(entries);
  const std::string path = lib.root / "book.zip";
  fx::write_file(path, zip);
  const std::size_t cut = zip.find("p3.jpg") + 40;  // inside the third page's data

  auto run = run_steps(lib.root.path(), lib.settings.path(),
                       {"ok", "state", [&] { fs::resize_file(path, cut); },
                        "ok", "state",   // page 2 lies before the cut
                        "ok", "state",   // page 3 is cut short
                        "ok", "state",   // page 4 is gone
                        [&] { fs::resize_file(path, 0); },
                        "ok", "state",   // nothing is left of page 1
                        "cancel", "answer yes", "cancel"},
                       {path});
  ASSERT_EQ(run.status, 0) << run.err;
  const std::vector<nlohmann::json> states = run.states();
  ASSERT_EQ(states.size(), 5u);
  EXPECT_EQ(states[0]["page_width"], 64);
  EXPECT_EQ(states[1]["page_width"], 64);
  EXPECT_EQ(states[2]["page_index"], 2);
  EXPECT_TRUE(states[3]["page_bitmap"].is_null());
  EXPECT_TRUE(states[4]["page_bitmap"].is_null());
  EXPECT_EQ(states[4]["page_index"], 0);

  // The next start finds the emptied archive and lists nothing.
  auto next = zeb::testing::run_script(lib.root.path(), lib.settings.path(), "state\ncontrol 1003\n");
  ASSERT_EQ(next.status, 0) << next.err;
  EXPECT_EQ(next.last_state()["LastDir"], "\\book.zip");
  EXPECT_TRUE(next.controls()[0]["items"].empty());
}

TEST(PageFaults, huge_header_and_empty_pages_are_abandoned_in_view_and_browser) {
  Library lib(1);
  // A page whose frame header claims 60000 x 60000 pixels.
  std::string huge = fx::jpeg_bytes(16, 16);
  const std::size_t sof = huge.find("\xFF\xC0", 2);
  ASSERT_NE(sof, std::string::npos);
  huge[sof + 5] = huge[sof + 7] = static_cast<char>(60000 >> 8);
  huge[sof + 6] = huge[sof + 8] = static_cast<char>(60000 & 0xFF);
  fx::write_file(lib.book + "/p2.jpg", huge);
  fx::write_file(lib.book + "/p3.jpg", "");

  const double start = processor_seconds();
  auto run = zeb::testing::run_script(lib.root.path(), lib.settings.path(),
                                      "click 1026\ntick\nselect 1003 1\ntick 7\nstate\nselect 1003 2\ntick 7\nstate\n"
                                      "dblclick 1003\nstate\nok\nstate\nok\nstate\nok\nstate\n",
                                      {lib.book});
  const double seconds = processor_seconds() - start;
  ASSERT_EQ(run.status, 0) << run.err;
  const std::vector<nlohmann::json> states = run.states();
  ASSERT_EQ(states.size(), 6u);
  EXPECT_TRUE(states[0]["page_bitmap"].is_null());  // preview of the huge page
  EXPECT_TRUE(states[1]["page_bitmap"].is_null());  // preview of the empty page
  EXPECT_TRUE(states[2]["page_bitmap"].is_null());  // the empty page in view
  EXPECT_EQ(states[3]["page_width"], 64);           // page 1 after wrapping
  EXPECT_TRUE(states[4]["page_bitmap"].is_null());  // the huge page in view
  EXPECT_TRUE(states[5]["page_bitmap"].is_null());
  EXPECT_LT(seconds, 60.0);
}

TEST(PageFaults, scan_bomb_is_given_up_in_browser_and_view) {
  Library lib(1);
  // A 20 KB progressive file of 2000 empty scans over a 12000 x 12000 frame.
  fx::write_file(lib.book + "/bomb.jpg", fx::scan_bomb_jpeg(12000, 12000, 2000));
  const double start = processor_seconds();
  // Both previews, then the page view on the second page, turned twice.
  auto run = zeb::testing::run_script(
      lib.root.path(), lib.settings.path(),
      "select 1003 0\ntick 7\nstate\nselect 1003 1\ntick 7\nstate\ndblclick 1003\nstate\nok\nstate\nok\nstate\n",
      {lib.book});
  const double seconds = processor_seconds() - start;
  ASSERT_EQ(run.status, 0) << run.err;
  const std::vector<nlohmann::json> states = run.states();
  ASSERT_EQ(states.size(), 5u);
  int bombs = 0;
  for (size_t i = 0; i < states.size(); ++i) {
    const bool bomb = states[i]["LastFName"] == "bomb.jpg";
    bombs += bomb;
    if (bomb) EXPECT_TRUE(states[i]["page_bitmap"].is_null()) << i;
    else EXPECT_EQ(states[i]["page_width"], i < 2 ? 8 : 64) << i;
  }
  EXPECT_EQ(bombs, 2 + (states[2]["LastFName"] == "bomb.jpg"));
  EXPECT_LT(seconds, 60.0);
}

TEST(ListingFaults, folder_of_twenty_thousand_files_lists_every_page) {
  Library lib(0);
  const std::string big = lib.root / "big";
  fx::make_dirs(big);
  const std::string page = fx::jpeg_bytes(8, 8);
  for (int i = 0; i < 20000; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "/p%05d.%s", i, i % 10 == 9 ? "txt" : "jpg");
    fx::write_file(big + name, page);
  }
  const double start = processor_seconds();
  auto run = zeb::testing::run_script(lib.root.path(), lib.settings.path(), "control 1003\ncontrol 1042\nok\nstate\n",
                                      {big});
  const double seconds = processor_seconds() - start;
  ASSERT_EQ(run.status, 0) << run.err;
  ASSERT_EQ(run.controls().size(), 2u);
  EXPECT_EQ(run.controls()[0]["items"].size(), 18000u);
  EXPECT_EQ(run.controls()[1]["range_max"], 17999);
  EXPECT_EQ(run.last_state()["page_width"], 8);
  EXPECT_LT(seconds, 60.0);
}

TEST(NameFaults, names_shift_jis_cannot_hold_open_save_and_open_again) {
  Library lib(0);
  const std::string folder = lib.root / "책";
  fx::make_dirs(folder);
  fx::write_jpeg(folder + "/한.jpg", 40, 30);
  fx::write_jpeg(folder + "/😀.jpg", 50, 30);
  auto run = zeb::testing::run_script(lib.root.path(), lib.settings.path(),
                                      "control 1003\nok\nstate\nok\nstate\ncancel\nanswer yes\ncancel\n", {folder});
  ASSERT_EQ(run.status, 0) << run.err;
  std::vector<std::string> names;
  const auto listed = run.controls();
  for (const auto& item : listed[0]["items"]) names.push_back(item);
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"한.jpg", "😀.jpg"}));
  EXPECT_FALSE(run.last_state()["page_bitmap"].is_null());

  // The files are written whole in UTF-8, behind its byte order mark.
  const std::string cfg = fx::read_file(lib.cfg("zeb.cfg"));
  EXPECT_TRUE(complete_configuration(cfg)) << cfg;
  EXPECT_EQ(cfg.rfind("\xEF\xBB\xBFx=0\r\n", 0), 0u);
  EXPECT_NE(cfg.find("LastDir=\\책\r\n"), std::string::npos);
  EXPECT_EQ(count_lines(fx::read_file(lib.cfg("auto_bk.dat"))), 2);

  // The next start opens the same folder again.
  auto next = zeb::testing::run_script(lib.root.path(), lib.settings.path(), "control 1003\nstate\n");
  ASSERT_EQ(next.status, 0) << next.err;
  EXPECT_EQ(next.controls()[0]["items"].size(), 2u);
  EXPECT_EQ(next.last_state()["LastDir"], "\\책");
}

TEST(InstanceFaults, two_viewers_started_at_once_never_share_the_settings) {
  Library lib;
  const std::string script = lib.root / "session.txt";
  fx::write_file(script, "ok\nok\ncancel\nclick 1074\nanswer yes\ncancel\n");
  const std::string command = std::string(ZEB_BINARY) + " --headless --script " + script + " --root " +
                              lib.root.path() + " --settings " + lib.settings.path() + " " + lib.book;
  for (int round = 0; round < 5; ++round) {
    std::FILE* a = ::popen(command.c_str(), "r");
    std::FILE* b = ::popen(command.c_str(), "r");
    ASSERT_TRUE(a && b);
    std::string out[2];
    std::FILE* pipes[2] = {a, b};
    for (int i = 0; i < 2; ++i) {
      char buffer[4096];
      for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipes[i])) > 0;) out[i].append(buffer, n);
    }
    EXPECT_EQ(::pclose(a), 0);
    EXPECT_EQ(::pclose(b), 0);
    // Either both ran one after the other, or the later one found the
    // first and ended without running.
    const int refused = (out[0].find("already_running") != std::string::npos) +
                        (out[1].find("already_running") != std::string::npos);
    EXPECT_LE(refused, 1);
    const std::string cfg = fx::read_file(lib.cfg("zeb.cfg"));
    EXPECT_TRUE(complete_configuration(cfg)) << cfg;
    EXPECT_EQ(count_lines(fx::read_file(lib.cfg("key.cfg"))), 25);
    const std::string history = fx::read_file(lib.cfg("auto_bk.dat"));
    EXPECT_EQ(history.rfind("\\book\r\np", 0), 0u) << history;
    EXPECT_EQ(count_lines(history), 2) << history;
  }
  // No temporary file of an interrupted save is left behind.
  for (const auto& [name, bytes] : snapshot(lib.cfg_dir())) EXPECT_NE(name[0], '.') << name;
}
