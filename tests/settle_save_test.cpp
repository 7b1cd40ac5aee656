// The reader's place saved once the reader settles, without any exit: the
// script front end's ticks drive the same tick as the window, and each
// `tick` returns once a save it handed over is on disk. Every check compares
// the files themselves (contents, inode, modification time), before and
// after, so that a write that leaves the same bytes still shows.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/harness.h"
#include "tools/fixtures/fixtures.h"

using zeb::fixtures::TempDir;
using zeb::testing::run_script;
using zeb::testing::run_steps;
using zeb::testing::Step;

namespace {

// What tells one version of a file from another on disk.
struct Mark {
  std::string bytes;
  ino_t inode = 0;
  long long mtime_ns = 0;
  bool operator==(const Mark&) const = default;
};

Mark mark_of(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return {};
  return {zeb::fixtures::read_file(path), st.st_ino, st.st_mtim.tv_sec * 1000000000LL + st.st_mtim.tv_nsec};
}

// A book of six pages, its settings written by one clean session first, so
// that a new start finds on disk exactly what it holds in memory.
struct Shelf {
  TempDir root, settings;
  std::string book = root / "book";
  Shelf() {
    zeb::fixtures::make_dirs(book);
    for (int i = 1; i <= 6; ++i)
      zeb::fixtures::write_jpeg(book + "/p" + std::to_string(i) + ".jpg", 64, 48, {.number = i});
    const auto first = run_script(root.path(), settings.path(), "close\n", {book});
    EXPECT_EQ(first.status, 0) << first.err;
  }
  std::string cfg() const { return settings / "ZEB_CFG/zeb.cfg"; }
  std::string bk() const { return settings / "ZEB_CFG/auto_bk.dat"; }
  std::vector<Mark> marks() const { return {mark_of(bk()), mark_of(cfg())}; }
};

bool holds(const Mark& m, const std::string& text) { return m.bytes.find(text) != std::string::npos; }

// The folder holds only the settings files: no temporary was left behind.
std::vector<std::string> names_in(const std::string& dir) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(dir)) names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace

TEST(SettleSave, a_place_that_rests_ten_ticks_is_on_disk_as_the_exit_writes_it) {
  Shelf shelf;
  std::vector<Mark> saved = shelf.marks();
  auto unchanged = [&](const char* what) { return [&, what] { EXPECT_EQ(shelf.marks(), saved) << what; }; };
  auto saved_now = [&](const char* what, const std::string& page) {
    return [&, what, page] {
      const std::vector<Mark> now = shelf.marks();
      EXPECT_NE(now[0], saved[0]) << what;
      EXPECT_NE(now[1], saved[1]) << what;
      EXPECT_TRUE(holds(now[1], "LastDir=\\book\r\n") && holds(now[1], "LastFName=" + page + "\r\n")) << now[1].bytes;
      EXPECT_EQ(now[0].bytes.rfind("\\book\r\n" + page + "\r\n", 0), 0u) << now[0].bytes;
      saved = now;
    };
  };
  std::vector<Step> steps = {
      "tick 30",       unchanged("a viewer at rest after its start"),
      "dblclick 1003", "key pagedown press",
      "tick 9",        unchanged("nine ticks after a turn"),
      "tick",          saved_now("the tenth tick after a turn", "p2.jpg"),
  };
  // Turns one tick apart never rest ten ticks: nothing until they stop.
  for (int i = 0; i < 4; ++i) {
    steps.insert(steps.end(), {"key pagedown press", "tick", unchanged("turns one tick apart")});
  }
  steps.insert(steps.end(),
               {"tick 8", unchanged("nine ticks after the last turn"), "tick",
                saved_now("ten ticks after the last turn", "p6.jpg"), "tick 40", unchanged("at rest after a save")});
  // A turn while the writer may still be writing the save before: real time
  // passes (ten ticks, the settle's save handed over), then the next turn at
  // once; only its own ten ticks later is the place on disk.
  steps.insert(steps.end(), {"key pageup press", "idle 1050", "key pageup press", "tick 10",
                             saved_now("a turn during a save", "p4.jpg")});
  // A setting alone changes only the configuration, which alone is written.
  steps.insert(steps.end(), {"click 1057", "tick 10", [&] {
                               const std::vector<Mark> now = shelf.marks();
                               EXPECT_EQ(now[0], saved[0]) << "the history did not change";
                               EXPECT_TRUE(holds(now[1], "LR_BT=1\r\n")) << now[1].bytes;
                               saved = now;
                             }});
  // The confirmed exit writes the very same bytes, so it leaves both files.
  steps.insert(steps.end(), {"close", unchanged("the exit after the settle save")});
  const auto run = run_steps(shelf.root.path(), shelf.settings.path(), steps);
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(names_in(shelf.settings / "ZEB_CFG"), (std::vector<std::string>{"auto_bk.dat", "key.cfg", "zeb.cfg"}));
}

TEST(SettleSave, a_save_that_fails_keeps_the_old_files_and_is_tried_again_at_the_next_settle) {
  Shelf shelf;
  const std::vector<Mark> before = shelf.marks();
  auto lock = [](const std::string& path, bool locked) {
    return [path, locked] { ASSERT_EQ(::chmod(path.c_str(), locked ? 0444 : 0644), 0); };
  };
  const std::vector<Step> steps = {
      // Both files locked by the user: neither is replaced, nothing is left.
      lock(shelf.bk(), true), lock(shelf.cfg(), true), "dblclick 1003", "key pagedown press", "tick 10",
      [&] { EXPECT_EQ(shelf.marks(), before) << "locked files are left whole"; },
      // Unlocked, but the place rests: no save is tried again meanwhile.
      lock(shelf.bk(), false), lock(shelf.cfg(), false), "tick 40",
      [&] { EXPECT_EQ(shelf.marks(), before) << "a failed save is not repeated while nothing changes"; },
      // A turn there and back: the next settle, on the very bytes that
      // failed, writes them.
      "key pagedown press", "tick", "key pageup press", "tick 10",
      [&] {
        const std::vector<Mark> now = shelf.marks();
        EXPECT_EQ(now[0].bytes.rfind("\\book\r\np2.jpg\r\n", 0), 0u) << now[0].bytes;
        EXPECT_TRUE(holds(now[1], "LastFName=p2.jpg\r\n")) << now[1].bytes;
      },
      // Only the history locked: the next settle writes the configuration.
      lock(shelf.bk(), true), "key pagedown press", "tick 10",
      [&] {
        const std::vector<Mark> now = shelf.marks();
        EXPECT_EQ(now[0].bytes.rfind("\\book\r\np2.jpg\r\n", 0), 0u) << now[0].bytes;
        EXPECT_TRUE(holds(now[1], "LastFName=p3.jpg\r\n")) << now[1].bytes;
      },
      // A setting changes only the configuration, yet the settle after it
      // writes the history that failed before.
      lock(shelf.bk(), false), "click 1057", "tick 10",
      [&] {
        const std::vector<Mark> now = shelf.marks();
        EXPECT_EQ(now[0].bytes.rfind("\\book\r\np3.jpg\r\n", 0), 0u) << now[0].bytes;
        EXPECT_TRUE(holds(now[1], "LR_BT=1\r\nSO_CH=0\r\n")) << now[1].bytes;
      },
      "quit"};
  const auto run = run_steps(shelf.root.path(), shelf.settings.path(), steps);
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(names_in(shelf.settings / "ZEB_CFG"), (std::vector<std::string>{"auto_bk.dat", "key.cfg", "zeb.cfg"}));
}
