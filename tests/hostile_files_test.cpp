// The viewer among hostile files: FIFOs, sockets and devices where pages,
// archives and settings files are expected; settings files that are huge or
// endless, read-only, another user's, or links; the leftovers of a killed
// save; and a very long history. Each case ends with the viewer having run
// its session and every file it should not write left exactly as it was.
// Runs that could hang (a blocking open) start the viewer as a program under
// `timeout`, so a hang fails the test instead of stopping the suite.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <grp.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <map>
#include <sstream>

#include "host/instance.h"
#include "tests/harness.h"
#include "tools/fixtures/fixtures.h"

namespace fs = std::filesystem;
namespace fx = zeb::fixtures;
using fx::TempDir;
using nlohmann::json;
using zeb::testing::ScriptRun;

namespace {

constexpr int kTimeoutSeconds = 120;  // far above a normal run, even under load
constexpr uid_t kNobody = 65534;

// Runs the viewer program on a script, as `as_user` when it is not root's 0,
// ended by `timeout` if it does not finish. A timeout gives status 124.
ScriptRun run_program(const std::string& root, const std::string& settings, const std::string& script,
                      const std::vector<std::string>& extra = {}, uid_t as_user = 0) {
  TempDir io;
  ::chmod(io.path().c_str(), 0755);
  fx::write_file(io / "script", script);
  std::vector<std::string> args = {"timeout",    "-k",         "5",      std::to_string(kTimeoutSeconds),
                                   ZEB_BINARY,   "--headless", "--root", root,
                                   "--settings", settings};
  args.insert(args.end(), extra.begin(), extra.end());
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  const std::string in = io / "script", out = io / "out", err = io / "err";
  const pid_t pid = ::fork();
  if (pid == 0) {
    const int fds[3] = {::open(in.c_str(), O_RDONLY), ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644),
                        ::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644)};
    for (int i = 0; i < 3; ++i)
      if (fds[i] < 0 || ::dup2(fds[i], i) < 0) ::_exit(126);
    if (as_user != 0 && (::setgroups(0, nullptr) != 0 || ::setgid(as_user) != 0 || ::setuid(as_user) != 0))
      ::_exit(126);
    ::execvp(argv[0], argv.data());
    ::_exit(127);
  }
  ScriptRun run;
  int status = 0;
  ::waitpid(pid, &status, 0);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  run.err = fx::read_file(err);
  std::istringstream printed(fx::read_file(out));
  for (std::string line; std::getline(printed, line);)
    if (!line.empty()) run.lines.push_back(json::parse(line));
  return run;
}

double seconds_since(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// A library with one book of pages and a settings folder beside it.
struct Library {
  TempDir root, settings;
  std::string book = root / "book";
  explicit Library(int pages = 2) {
    fx::make_dirs(book);
    fx::make_dirs(cfg_dir());
    for (int i = 1; i <= pages; ++i) fx::write_jpeg(book + "/p" + std::to_string(i) + ".jpg", 64, 48, {.number = i});
  }
  std::string cfg_dir() const { return settings / "ZEB_CFG"; }
  std::string cfg(const std::string& name) const { return cfg_dir() + "/" + name; }
};

// What stands at each name of a folder: the bytes of a regular file, or the
// kind and mode of anything else (a link by its target), so that a test can
// see that nothing changed, was replaced or was added.
std::map<std::string, std::string> snapshot(const std::string& dir) {
  std::map<std::string, std::string> found;
  for (const auto& entry : fs::directory_iterator(dir)) {
    const std::string path = entry.path().string();
    struct stat st;
    if (::lstat(path.c_str(), &st) != 0) continue;
    std::string& what = found[entry.path().filename().string()];
    what = "mode " + std::to_string(st.st_mode) + " uid " + std::to_string(st.st_uid) + ": ";
    if (S_ISLNK(st.st_mode)) what += "link to " + fs::read_symlink(entry.path()).string();
    else if (S_ISREG(st.st_mode) && st.st_size < (1 << 20)) what += fx::read_file(path);
    else what += "size " + std::to_string(st.st_size);
  }
  return found;
}

void make_fifo(const std::string& path) { ASSERT_EQ(::mkfifo(path.c_str(), 0644), 0) << path; }

void make_sparse(const std::string& path, off_t size) {
  const int fd = ::open(path.c_str(), O_CREAT | O_WRONLY | O_TRUNC, 0644);
  ASSERT_GE(fd, 0) << path;
  ASSERT_EQ(::ftruncate(fd, size), 0);
  ::close(fd);
}

// A listening Unix socket at a path, closed with the object.
struct SocketFile {
  int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
  explicit SocketFile(const std::string& path) {
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    if (path.size() < sizeof addr.sun_path) std::strcpy(addr.sun_path, path.c_str());
    bound = ::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0 && ::listen(fd, 1) == 0;
  }
  ~SocketFile() { ::close(fd); }
  bool bound = false;
};

// A session that changes a setting, saves the preset "mine" and the key
// bindings, and ends with the exit question answered Yes.
const char* const kSavingSession =
    "ok\nok\ncancel\n"
    "click 1074\n"  // automatic sort toggled
    "text 1031 300\n"
    "text 1036 mine\nanswer yes\nclick 1023\n"  // save the preset "mine"
    "click 1077\nclick 1082\nclick 1077\n"      // save the key bindings
    "answer yes\ncancel\n";

// Settings files as a finished session leaves them.
void save_settings_once(const Library& lib) {
  auto run = zeb::testing::run_script(lib.root.path(), lib.settings.path(), kSavingSession, {lib.book});
  ASSERT_EQ(run.status, 0) << run.err;
  ASSERT_EQ(snapshot(lib.cfg_dir()).size(), 4u);
}

int index_of(const json& items, const std::string& name) {
  for (std::size_t i = 0; i < items.size(); ++i)
    if (items[i] == name) return static_cast<int>(i);
  return -1;
}

}  // namespace

TEST(HostileFiles, fifos_sockets_and_devices_never_hold_up_the_viewer) {
  Library lib;
  make_fifo(lib.book + "/f.jpg");
  SocketFile socket(lib.book + "/s.jpg");
  ASSERT_TRUE(socket.bound);
  ASSERT_EQ(::symlink("/dev/zero", (lib.book + "/zero.jpg").c_str()), 0);
  make_fifo(lib.book + "/book.zip");
  for (const char* name : {"zeb.cfg", "auto_bk.dat", "p.set"}) make_fifo(lib.cfg(name));
  ASSERT_EQ(::symlink("/dev/null", lib.cfg("key.cfg").c_str()), 0);
  const auto settings_before = snapshot(lib.cfg_dir());
  const auto start = std::chrono::steady_clock::now();

  // Every page in turn, then the archive entered from the folder list (when
  // the folder search offers it at all), then a preset saved as "p".
  const auto listed = run_program(lib.root.path(), lib.settings.path(), "control 1001\ncontrol 1003\n", {lib.book});
  ASSERT_EQ(listed.status, 0) << listed.err;
  const json folders = listed.controls().at(0)["items"];
  const std::size_t pages = listed.controls().at(1)["items"].size();
  std::string script = "ok\nstate\n";
  for (std::size_t i = 1; i < pages; ++i) script += "ok\nstate\n";
  script += "cancel\n";
  const int archive = index_of(folders, "book.zip");
  if (archive >= 0) script += "select 1001 " + std::to_string(archive) + "\ncontrol 1003\nstate\n";
  script += "text 1036 p\nanswer yes\nclick 1023\nanswer yes\ncancel\n";
  const auto run = run_program(lib.root.path(), lib.settings.path(), script, {lib.book});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_LT(seconds_since(start), kTimeoutSeconds);

  // The real pages show; the others are abandoned as corrupt pages are.
  const auto states = run.states();
  ASSERT_EQ(states.size(), pages + (archive >= 0 ? 1 : 0));
  int shown = 0;
  for (std::size_t i = 0; i < pages; ++i) {
    const std::string name = states[i]["LastFName"];
    const bool real = name == "p1.jpg" || name == "p2.jpg";
    shown += real;
    EXPECT_EQ(states[i]["page_bitmap"].is_null(), !real) << name;
  }
  EXPECT_EQ(shown, 2);
  if (archive >= 0) {
    EXPECT_EQ(states.back()["LastDir"], "\\book\\book.zip");
    EXPECT_TRUE(run.controls().back()["items"].empty());
  }
  // Nothing was written over the settings files, nothing was added.
  EXPECT_EQ(snapshot(lib.cfg_dir()), settings_before);
}

TEST(HostileFiles, huge_and_endless_settings_files_are_read_with_a_bound) {
  Library lib;
  constexpr off_t kHuge = off_t{2} << 30;  // 2 GiB, sparse
  for (const char* name : {"zeb.cfg", "auto_bk.dat", "key.cfg", "big.set"}) make_sparse(lib.cfg(name), kHuge);
  const char* const script = "state\nselect 1036 0\nstate\nanswer yes\ncancel\n";
  auto run = run_program(lib.root.path(), lib.settings.path(), script, {lib.book});
  ASSERT_EQ(run.status, 0) << run.err;
  ASSERT_EQ(run.states().size(), 2u);
  EXPECT_EQ(run.last_state()["LastDir"], "\\book");
  // The exit saved small, whole files; the preset was only read.
  EXPECT_EQ(fs::file_size(lib.cfg("big.set")), static_cast<std::uintmax_t>(kHuge));
  const std::string cfg = fx::read_file(lib.cfg("zeb.cfg"));
  EXPECT_EQ(cfg.rfind("x=0\r\nx=0\r\nLastDir=\\book\r\n", 0), 0u) << cfg;
  EXPECT_LT(fs::file_size(lib.cfg("auto_bk.dat")), 100u);

  // Files that are links to an endless device: read as missing, never written.
  for (const char* name : {"zeb.cfg", "auto_bk.dat", "big.set"}) {
    fs::remove(lib.cfg(name));
    ASSERT_EQ(::symlink("/dev/zero", lib.cfg(name).c_str()), 0);
  }
  const auto before = snapshot(lib.cfg_dir());
  run = run_program(lib.root.path(), lib.settings.path(), script, {lib.book});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.last_state()["Text1"], 240);  // the defaults
  EXPECT_EQ(snapshot(lib.cfg_dir()), before);
}

TEST(HostileFiles, read_only_settings_files_are_left_as_they_are) {
  Library lib;
  save_settings_once(lib);
  for (const auto& [name, what] : snapshot(lib.cfg_dir())) ASSERT_EQ(::chmod(lib.cfg(name).c_str(), 0444), 0);
  const auto before = snapshot(lib.cfg_dir());

  auto run = zeb::testing::run_script(lib.root.path(), lib.settings.path(), kSavingSession);
  ASSERT_EQ(run.status, 0) << run.err;
  // The overwrite question is still asked; its Yes writes nothing.
  ASSERT_EQ(run.message_boxes().size(), 2u);
  EXPECT_EQ(run.message_boxes()[0]["caption"], "ファイルの上書");
  EXPECT_EQ(snapshot(lib.cfg_dir()), before);
}

TEST(HostileFiles, settings_files_of_another_user_are_neither_read_nor_replaced) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root to act as another user";
  Library lib;
  // The reader's own folders, with root's private files in the settings.
  for (const std::string& dir : {lib.root.path(), lib.settings.path()}) ::chmod(dir.c_str(), 0755);
  for (const std::string& dir : {lib.settings.path(), lib.cfg_dir()})
    ASSERT_EQ(::chown(dir.c_str(), kNobody, kNobody), 0);
  const std::string config = "x=0\r\nx=0\r\nLastDir=\\secret\r\nv_mode=3\r\n";
  fx::write_file(lib.cfg("zeb.cfg"), config);
  fx::write_file(lib.cfg("auto_bk.dat"), "\\secret\r\n1.jpg\r\n");
  for (const char* name : {"zeb.cfg", "auto_bk.dat"}) ASSERT_EQ(::chmod(lib.cfg(name).c_str(), 0600), 0);
  const auto before = snapshot(lib.cfg_dir());

  const auto run = run_program(lib.root.path(), lib.settings.path(),
                               "ok\nstate\ncancel\nclick 1074\nanswer yes\ncancel\n", {lib.book}, kNobody);
  if (run.status == 126) GTEST_SKIP() << "cannot act as user " << kNobody;
  ASSERT_EQ(run.status, 0) << run.err;
  const json state = run.last_state();
  EXPECT_EQ(state["v_mode"], 0);  // the defaults, not the file's 3
  EXPECT_EQ(state["page_width"], 64);
  // Both files untouched; the key bindings, which were missing, were made.
  auto after = snapshot(lib.cfg_dir());
  ASSERT_EQ(after.count("key.cfg"), 1u);
  after.erase("key.cfg");
  EXPECT_EQ(after, before);
}

TEST(HostileFiles, linked_settings_files_are_written_through_their_links) {
  Library lib;
  save_settings_once(lib);
  const std::string dotfiles = lib.settings / "dotfiles";
  fx::make_dirs(dotfiles);
  for (const char* name : {"zeb.cfg", "auto_bk.dat"}) fs::rename(lib.cfg(name), dotfiles + "/" + name);
  ASSERT_EQ(::symlink("../dotfiles/zeb.cfg", lib.cfg("zeb.cfg").c_str()), 0);
  ASSERT_EQ(::symlink((dotfiles + "/auto_bk.dat").c_str(), lib.cfg("auto_bk.dat").c_str()), 0);
  ASSERT_NE(fx::read_file(dotfiles + "/zeb.cfg").find("SO_CH=1\r\n"), std::string::npos);

  auto run = zeb::testing::run_script(lib.root.path(), lib.settings.path(), "click 1074\nanswer yes\ncancel\n");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(fs::read_symlink(lib.cfg("zeb.cfg")), "../dotfiles/zeb.cfg");
  EXPECT_EQ(fs::read_symlink(lib.cfg("auto_bk.dat")), dotfiles + "/auto_bk.dat");
  EXPECT_NE(fx::read_file(dotfiles + "/zeb.cfg").find("SO_CH=0\r\n"), std::string::npos);
  EXPECT_EQ(fx::read_file(dotfiles + "/auto_bk.dat").rfind("\\book\r\n", 0), 0u);
  EXPECT_EQ(snapshot(dotfiles).size(), 2u);  // no temporary left beside them
  EXPECT_EQ(snapshot(lib.cfg_dir()).size(), 4u);
}

TEST(HostileFiles, temporaries_of_a_killed_save_are_removed_by_the_next_start) {
  Library lib;
  const std::string stale = lib.cfg(".zeb-save-Ab12Cd");
  fx::write_file(stale, "x=0\r\nx=0\r\nLas");  // cut short by the kill
  for (const char* name : {".zeb.cfg.backup", "notes.txt", ".zeb-save-notes"}) fx::write_file(lib.cfg(name), "mine");

  {
    // While another viewer holds the settings, a start leaves them alone.
    zeb::platform::InstanceGuard first(lib.cfg_dir());
    ASSERT_TRUE(first.guarded());
    fx::write_file(stale, "x=0\r\nx=0\r\nLas");
    const auto refused = zeb::testing::run_script(lib.root.path(), lib.settings.path(), "state\n");
    ASSERT_EQ(refused.status, 0) << refused.err;
    EXPECT_TRUE(refused.lines.at(0).contains("already_running"));
    EXPECT_TRUE(fs::exists(stale));
  }
  const auto run = zeb::testing::run_script(lib.root.path(), lib.settings.path(), "state\n");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_FALSE(fs::exists(stale));
  for (const char* name : {".zeb.cfg.backup", "notes.txt", ".zeb-save-notes"})
    EXPECT_EQ(fx::read_file(lib.cfg(name)), "mine") << name;
}

TEST(HostileFiles, long_history_is_trimmed_in_one_removal_with_the_same_result) {
  Library lib;
  // 100,000 pairs and one odd line; the book is pair 75,000.
  std::string history, expected = "\\book\r\np2.jpg\r\n";
  for (int k = 0; k < 100000; ++k) {
    const std::string pair = k == 75000 ? "\\book\r\np2.jpg\r\n" : "\\old\\b" + std::to_string(k) + "\r\np.jpg\r\n";
    history += pair;
    if (k < 49) expected += pair;
  }
  history += "\\tail\r\n";
  expected += "\\tail\r\n";  // an odd last item is never part of a whole pair
  fx::write_file(lib.cfg("auto_bk.dat"), history);

  const auto start = std::chrono::steady_clock::now();
  const auto run = run_program(lib.root.path(), lib.settings.path(), "state\nanswer yes\ncancel\n", {lib.book});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_LT(seconds_since(start), kTimeoutSeconds);
  EXPECT_EQ(run.last_state()["LastFName"], "p2.jpg");
  EXPECT_EQ(fx::read_file(lib.cfg("auto_bk.dat")), expected);
}
