// Location paths, directory search and host-file helpers on temporary folders.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "host/files.h"
#include "host/natural_order.h"
#include "host/text.h"
#include "tools/fixtures/fixtures.h"

namespace zeb::platform {
namespace {

using fixtures::TempDir;

std::map<std::u16string, bool> listing(const std::vector<FindEntry>& entries) {
  std::map<std::u16string, bool> names;
  for (const FindEntry& e : entries) names[e.name] = e.directory;
  return names;
}

TEST(PlatformFiles, location_paths_map_below_the_root) {
  Storage storage("/srv/books/");
  EXPECT_EQ(storage.root(), "/srv/books");
  EXPECT_EQ(storage.host_path(u""), "/srv/books");
  EXPECT_EQ(storage.host_path(u"\\"), "/srv/books");
  EXPECT_EQ(storage.host_path(u"\\home\\me"), "/srv/books/home/me");
  EXPECT_EQ(storage.host_path(u"\\漫画\\1.jpg"), "/srv/books/漫画/1.jpg");
  EXPECT_EQ(Storage("/").host_path(u"\\home\\me"), "/home/me");
  EXPECT_EQ(Storage("/").host_path(u"\\"), "/");
}

TEST(PlatformFiles, locations_that_could_leave_the_root_map_to_nothing) {
  Storage storage("/srv/books");
  EXPECT_EQ(storage.host_path(u"\\a\\..\\..\\etc"), std::nullopt);
  EXPECT_EQ(storage.host_path(u"\\.\\a"), std::nullopt);
  EXPECT_EQ(storage.host_path(u"\\a/../../etc"), std::nullopt);
  EXPECT_EQ(storage.host_path(std::u16string(u"\\a\0b", 4)), std::nullopt);
  std::u16string longest = u"\\" + std::u16string(258, u'x');
  EXPECT_TRUE(storage.host_path(longest).has_value());
  EXPECT_EQ(storage.host_path(longest + u"x"), std::nullopt);
  EXPECT_FALSE(storage.open_read(u"\\..\\passwd"));
}

TEST(PlatformFiles, host_paths_map_back_to_locations) {
  Storage storage("/srv/books");
  EXPECT_EQ(storage.location_of("/srv/books/home/me/"), u"\\home\\me");
  EXPECT_EQ(storage.location_of("/srv/books"), u"\\");
  EXPECT_EQ(storage.location_of("/srv/books//a/./b"), u"\\a\\b");
  EXPECT_EQ(storage.location_of("/srv/booksx/a"), std::nullopt);
  EXPECT_EQ(storage.location_of("/srv"), std::nullopt);
  EXPECT_EQ(storage.location_of("/srv/books/a/../../x"), std::nullopt);
  EXPECT_EQ(storage.location_of("/srv/books/back\\slash"), std::nullopt);
  Storage whole("/");
  EXPECT_EQ(whole.location_of("/"), u"\\");
  EXPECT_EQ(whole.location_of("/home/me//"), u"\\home\\me");
  EXPECT_EQ(whole.location_of("/" + std::string(300, 'x')), std::nullopt);
}

TEST(PlatformFiles, relative_and_linked_paths_meet_the_root) {
  TempDir dir;
  ASSERT_TRUE(fixtures::make_dirs(dir / "real/book"));
  ASSERT_EQ(::symlink((dir / "real").c_str(), (dir / "link").c_str()), 0);
  Storage through_link(dir / "link");
  EXPECT_EQ(through_link.location_of(dir / "real/book"), u"\\book");
  EXPECT_EQ(through_link.location_of(dir / "link/book"), u"\\book");
  EXPECT_EQ(through_link.location_of(dir / "real/../real/book"), u"\\book");
  EXPECT_EQ(through_link.location_of(dir.path()), std::nullopt);

  char cwd[4096];
  ASSERT_NE(::getcwd(cwd, sizeof cwd), nullptr);
  Storage relative("books/");
  EXPECT_EQ(relative.root(), std::string(cwd) + "/books");
  EXPECT_EQ(relative.location_of("books/a"), u"\\a");
}

TEST(PlatformFiles, wildcards_ignore_case_and_star_dot_star_matches_all) {
  EXPECT_TRUE(wildcard_match(u"*.*", u"noext"));
  EXPECT_TRUE(wildcard_match(u"*.*", u".hidden"));
  EXPECT_TRUE(wildcard_match(u"*.jpg", u"PAGE.JPG"));
  EXPECT_FALSE(wildcard_match(u"*.jpg", u"page.jpeg"));
  EXPECT_TRUE(wildcard_match(u"p?ge*.j*g", u"Page01.jpeg"));
  EXPECT_TRUE(wildcard_match(u"a*b*c", u"aXbYbZc"));
  EXPECT_FALSE(wildcard_match(u"a*b*c", u"aXbYbZ"));
  EXPECT_TRUE(wildcard_match(u"read.*", u"read"));
  EXPECT_FALSE(wildcard_match(u"read.*", u"ready"));
  EXPECT_TRUE(wildcard_match(u"*.set", u"夜.SET"));
  EXPECT_FALSE(wildcard_match(u"", u"a"));
}

TEST(PlatformFiles, find_lists_what_a_location_can_name) {
  TempDir root;
  ASSERT_TRUE(fixtures::make_dirs(root / "book/sub"));
  for (const char* name : {"A.JPG", "b.jpeg", "noext", "back\\slash.jpg", "line\nbreak.jpg",
                           "bad\xFF.jpg", "ページ.jpg"}) {
    ASSERT_TRUE(fixtures::write_file(root / "book/" + name, "x")) << name;
  }
  ASSERT_EQ(::symlink((root / "book/sub").c_str(), (root / "book/link").c_str()), 0);
  Storage storage(root.path());

  auto all = listing(storage.find(u"\\book\\*.*"));
  std::map<std::u16string, bool> want = {{u"A.JPG", false}, {u"b.jpeg", false}, {u"noext", false},
                                         {u"ページ.jpg", false}, {u"sub", true}, {u"link", true}};
  EXPECT_EQ(all, want);
  auto jpgs = listing(storage.find(u"\\book\\*.jpg"));
  EXPECT_EQ(jpgs.size(), 2u);
  EXPECT_TRUE(jpgs.count(u"A.JPG"));

  // The root, spelled with a doubled separator as the folder scan does.
  auto top = storage.find(u"\\\\*.*");
  ASSERT_EQ(top.size(), 1u);
  EXPECT_EQ(top[0].name, u"book");
  EXPECT_TRUE(top[0].directory);
  EXPECT_EQ(listing(storage.find(u"*.*")), listing(top));
  EXPECT_TRUE(storage.find(u"\\missing\\*.*").empty());
  EXPECT_TRUE(storage.find(u"\\..\\*.*").empty());
}

TEST(PlatformFiles, find_offers_only_folders_and_regular_files) {
  TempDir root;
  ASSERT_TRUE(fixtures::make_dirs(root / "book/sub"));
  ASSERT_TRUE(fixtures::write_file(root / "book/1.jpg", "x"));
  ASSERT_EQ(::mkfifo((root / "book/f.jpg").c_str(), 0600), 0);
  ASSERT_EQ(::mkfifo((root / "book/book.zip").c_str(), 0600), 0);
  ASSERT_EQ(::symlink("/dev/null", (root / "book/null.jpg").c_str()), 0);
  ASSERT_EQ(::symlink((root / "book/f.jpg").c_str(), (root / "book/to_fifo.jpg").c_str()), 0);
  ASSERT_EQ(::symlink((root / "book/gone.jpg").c_str(), (root / "book/dangling.jpg").c_str()), 0);
  ASSERT_EQ(::symlink((root / "book/1.jpg").c_str(), (root / "book/to_page.jpg").c_str()), 0);
  Storage storage(root.path());
  std::map<std::u16string, bool> want = {{u"1.jpg", false}, {u"to_page.jpg", false}, {u"sub", true}};
  EXPECT_EQ(listing(storage.find(u"\\book\\*.*")), want);
}

TEST(PlatformFiles, find_returns_names_in_natural_order) {
  TempDir root;
  std::vector<std::u16string> want;
  for (int i = 1; i <= 110; ++i) want.push_back(text::from_utf8(std::to_string(i) + ".jpg"));
  // Created in a shuffled order, so that the host's own order tells nothing.
  std::vector<std::u16string> shuffled = want;
  std::mt19937 random(7);
  std::shuffle(shuffled.begin(), shuffled.end(), random);
  for (const std::u16string& name : shuffled) ASSERT_TRUE(fixtures::write_file(root / text::to_utf8(name), "x"));
  std::vector<std::u16string> found;
  for (const FindEntry& e : Storage(root.path()).find(u"\\*.jpg")) found.push_back(e.name);
  EXPECT_EQ(found, want);
}

// Every name of the list comes before every later one, and not before itself.
void expect_natural_order(const std::vector<std::string>& ordered) {
  for (size_t i = 0; i < ordered.size(); ++i) {
    EXPECT_FALSE(natural_less(ordered[i], ordered[i])) << ordered[i];
    for (size_t j = i + 1; j < ordered.size(); ++j) {
      EXPECT_TRUE(natural_less(ordered[i], ordered[j])) << ordered[i] << " < " << ordered[j];
      EXPECT_FALSE(natural_less(ordered[j], ordered[i])) << ordered[j] << " !< " << ordered[i];
    }
  }
}

TEST(NaturalOrder, numbers_by_value_letters_without_case_ties_by_bytes) {
  // Digit runs by value, every run of a name; letters without case, and
  // names that tie so ordered by their bytes; other bytes by their value.
  const std::vector<std::string> ordered = {
      "1.jpg", "2.jpg",  "10.jpg",  "100.jpg", "A",   "a",  "ab", "B", "p2b.jpg",           "p10a.jpg",
      "Vol 9", "vol 10", "Vol 10a", "x007",    "x07", "x7", "x8", "z", "\xc3\xa9t\xc3\xa9", "\xe8\xa1\xa8"};
  expect_natural_order(ordered);
  // Digit runs far longer than any integer type still compare by value.
  EXPECT_TRUE(natural_less("p" + std::string(40, '9'), "p1" + std::string(40, '0')));
  EXPECT_TRUE(natural_less("p" + std::string(30, '0') + "5", "p6"));
}

TEST(NaturalOrder, digit_runs_meet_other_bytes_as_a_digit_does) {
  // A run against a byte below the digits, above them, and against letters
  // of both cases; a run of zeros only; runs longer than one byte can count.
  const std::vector<std::string> ordered = {"q",  "q ",  "q-", "q.9", "q0", "q00", "q1", "q01a",
                                            "q2", "q10", "q:", "q_",  "qa", "qZ",  "qz", "q\xc3\xa9"};
  expect_natural_order(ordered);
  EXPECT_TRUE(natural_less("p" + std::string(255, '9'), "p1" + std::string(255, '0')));
  EXPECT_FALSE(natural_less("p1" + std::string(255, '0'), "p" + std::string(255, '9')));
}

TEST(PlatformFiles, folders_are_never_opened_as_files) {
  TempDir root;
  ASSERT_TRUE(fixtures::write_file(root / "p.jpg", std::string("a\0b", 3)));
  ASSERT_TRUE(fixtures::make_dirs(root / "dir.jpg"));
  Storage storage(root.path());
  EXPECT_TRUE(storage.open_read(u"\\p.jpg"));
  EXPECT_FALSE(storage.open_read(u"\\dir.jpg"));
  EXPECT_EQ(read_host_file(root / "p.jpg", 100), std::string("a\0b", 3));
  EXPECT_EQ(read_host_file(root / "dir.jpg", 100), std::nullopt);
  EXPECT_TRUE(make_host_dir(root / "dir.jpg"));  // already there
  EXPECT_FALSE(make_host_dir(root / "p.jpg"));   // a file is in the way
}

// Every name in a folder, whatever it is (links and FIFOs included), to see
// that no temporary file is left behind.
std::vector<std::string> all_names(const std::string& dir) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(dir)) names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

// The permission bits of a file (through links); -1 when it cannot be read.
int permissions(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 ? static_cast<int>(st.st_mode & 0777) : -1;
}

TEST(PlatformFiles, replace_swaps_the_whole_file_and_keeps_its_mode) {
  TempDir dir;
  const std::string path = dir / "zeb.cfg";
  ASSERT_TRUE(replace_host_file(path, "first\r\n"));
  EXPECT_EQ(fixtures::read_file(path), "first\r\n");
  ASSERT_EQ(::chmod(path.c_str(), 0600), 0);
  ASSERT_TRUE(replace_host_file(path, "second"));
  EXPECT_EQ(fixtures::read_file(path), "second");
  EXPECT_EQ(permissions(path), 0600);
  EXPECT_EQ(all_names(dir.path()), std::vector<std::string>{"zeb.cfg"});
}

// The inode number tells a file replaced from one left in place.
ino_t inode_of(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 ? st.st_ino : 0;
}

TEST(PlatformFiles, replace_with_the_same_bytes_leaves_the_file_in_place) {
  TempDir dir;
  const std::string path = dir / "key.cfg";
  ASSERT_TRUE(replace_host_file(path, "AP00=1\r\n"));
  const ino_t first = inode_of(path);
  EXPECT_TRUE(replace_host_file(path, "AP00=1\r\n"));
  EXPECT_EQ(inode_of(path), first);
  // Same length, other bytes: replaced.
  EXPECT_TRUE(replace_host_file(path, "AP00=2\r\n"));
  EXPECT_EQ(fixtures::read_file(path), "AP00=2\r\n");
  EXPECT_NE(inode_of(path), first);
  // A locked file stays refused even when nothing would change.
  ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
  EXPECT_FALSE(replace_host_file(path, "AP00=2\r\n"));
}

TEST(PlatformFiles, failed_replace_leaves_the_old_file_and_no_temporary) {
  TempDir dir;
  // A folder where the file should go: the final rename fails.
  ASSERT_TRUE(fixtures::make_dirs(dir / "key.cfg"));
  EXPECT_FALSE(replace_host_file(dir / "key.cfg", "AP00=1"));
  EXPECT_TRUE(host_dir_exists(dir / "key.cfg"));
  EXPECT_EQ(all_names(dir.path()), std::vector<std::string>{"key.cfg"});
  EXPECT_FALSE(replace_host_file(dir / "missing/key.cfg", "AP00=1"));
}

TEST(PlatformFiles, replace_in_a_read_only_folder_fails_and_keeps_the_old_file) {
  if (::geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders";
  TempDir dir;
  ASSERT_TRUE(fixtures::write_file(dir / "zeb.cfg", "old"));
  ASSERT_EQ(::chmod(dir.path().c_str(), 0500), 0);
  EXPECT_FALSE(replace_host_file(dir / "zeb.cfg", "new"));
  ::chmod(dir.path().c_str(), 0700);
  EXPECT_EQ(fixtures::read_file(dir / "zeb.cfg"), "old");
}

bool is_fifo(const std::string& path) {
  struct stat st;
  return ::lstat(path.c_str(), &st) == 0 && S_ISFIFO(st.st_mode);
}

std::string link_target(const std::string& path) {
  std::error_code ec;
  return std::filesystem::read_symlink(path, ec).string();
}

// A FIFO, a socket and links to devices where files are expected: opening
// them must neither block (a FIFO's open waits for a writer) nor succeed,
// and nothing is written over them.
TEST(PlatformFiles, only_regular_files_are_opened_and_replaced) {
  TempDir dir;
  ASSERT_EQ(::mkfifo((dir / "f.jpg").c_str(), 0644), 0);
  const int sock = ::socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un addr{};
  addr.sun_family = AF_UNIX;
  const std::string sock_path = dir / "s.jpg";
  ASSERT_LT(sock_path.size(), sizeof addr.sun_path);
  std::strcpy(addr.sun_path, sock_path.c_str());
  ASSERT_EQ(::bind(sock, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
  ASSERT_EQ(::symlink("/dev/zero", (dir / "zero.jpg").c_str()), 0);
  ASSERT_EQ(::symlink("/dev/null", (dir / "null.cfg").c_str()), 0);
  Storage storage(dir.path());
  for (const std::string name : {"f.jpg", "s.jpg", "zero.jpg", "null.cfg"}) {
    SCOPED_TRACE(name);
    EXPECT_FALSE(storage.open_read(u"\\" + std::u16string(name.begin(), name.end())));
    for (const char* mode : {"rb", "wb", "ab", "r+b"}) EXPECT_FALSE(open_host_file(dir / name, mode)) << mode;
    EXPECT_EQ(read_host_file(dir / name, 4096), std::nullopt);
    EXPECT_FALSE(host_path_missing(dir / name));
    EXPECT_FALSE(replace_host_file(dir / name, "x=0\r\n"));
  }
  ::close(sock);
  EXPECT_TRUE(is_fifo(dir / "f.jpg"));
  EXPECT_EQ(link_target(dir / "null.cfg"), "/dev/null");
  EXPECT_EQ(all_names(dir.path()), (std::vector<std::string>{"f.jpg", "null.cfg", "s.jpg", "zero.jpg"}));

  // A regular file behaves as a file: readable, truncated by "w" only.
  ASSERT_TRUE(fixtures::write_file(dir / "p.cfg", "abc"));
  EXPECT_TRUE(open_host_file(dir / "p.cfg", "ab"));
  EXPECT_EQ(fixtures::read_file(dir / "p.cfg"), "abc");
  {
    FilePtr file = open_host_file(dir / "p.cfg", "rb");
    ASSERT_TRUE(file);
    char buffer[4] = {};
    EXPECT_EQ(std::fread(buffer, 1, 3, file.get()), 3u);
  }
  EXPECT_TRUE(open_host_file(dir / "p.cfg", "wb"));
  EXPECT_EQ(fixtures::read_file(dir / "p.cfg"), "");
  EXPECT_TRUE(host_path_missing(dir / "none.cfg"));
}

TEST(PlatformFiles, reads_stop_at_their_limit) {
  TempDir dir;
  // 2 GiB that take no room on disk.
  const std::string sparse = dir / "sparse.cfg";
  const int fd = ::open(sparse.c_str(), O_CREAT | O_WRONLY, 0644);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(::ftruncate(fd, off_t{2} << 30), 0);
  ::close(fd);
  EXPECT_EQ(read_host_file(sparse, 100000), std::string(100000, '\0'));
  ASSERT_TRUE(fixtures::write_file(dir / "small", "abc"));
  EXPECT_EQ(read_host_file(dir / "small", 2), "ab");
  EXPECT_EQ(read_host_file(dir / "small", 3), "abc");
  EXPECT_EQ(read_host_file(dir / "small", 0), "");
}

TEST(PlatformFiles, replace_leaves_a_file_without_write_permission_alone) {
  TempDir dir;
  const std::string path = dir / "zeb.cfg";
  ASSERT_TRUE(fixtures::write_file(path, "kept"));
  ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
  EXPECT_FALSE(replace_host_file(path, "new"));  // for root too
  EXPECT_EQ(fixtures::read_file(path), "kept");
  EXPECT_EQ(permissions(path), 0444);
  EXPECT_EQ(all_names(dir.path()), std::vector<std::string>{"zeb.cfg"});
}

TEST(PlatformFiles, replace_writes_through_symbolic_links) {
  TempDir dir;
  ASSERT_TRUE(fixtures::make_dirs(dir / "dotfiles"));
  ASSERT_TRUE(fixtures::make_dirs(dir / "cfg"));
  ASSERT_TRUE(fixtures::write_file(dir / "dotfiles/zeb.cfg", "old"));
  ASSERT_EQ(::chmod((dir / "dotfiles/zeb.cfg").c_str(), 0600), 0);
  // A relative link to a relative link.
  ASSERT_EQ(::symlink("../dotfiles/zeb.cfg", (dir / "cfg/real.cfg").c_str()), 0);
  ASSERT_EQ(::symlink("real.cfg", (dir / "cfg/zeb.cfg").c_str()), 0);
  ASSERT_TRUE(replace_host_file(dir / "cfg/zeb.cfg", "new"));
  EXPECT_EQ(fixtures::read_file(dir / "dotfiles/zeb.cfg"), "new");
  EXPECT_EQ(link_target(dir / "cfg/zeb.cfg"), "real.cfg");
  EXPECT_EQ(permissions(dir / "dotfiles/zeb.cfg"), 0600);
  EXPECT_EQ(all_names(dir / "dotfiles"), std::vector<std::string>{"zeb.cfg"});
  EXPECT_EQ(all_names(dir / "cfg"), (std::vector<std::string>{"real.cfg", "zeb.cfg"}));

  // A link whose target does not exist yet: the target is made.
  ASSERT_EQ(::symlink((dir / "dotfiles/key.cfg").c_str(), (dir / "cfg/key.cfg").c_str()), 0);
  ASSERT_TRUE(host_path_missing(dir / "cfg/key.cfg"));
  ASSERT_TRUE(replace_host_file(dir / "cfg/key.cfg", "AP00=0\r\n"));
  EXPECT_EQ(fixtures::read_file(dir / "dotfiles/key.cfg"), "AP00=0\r\n");
  EXPECT_EQ(link_target(dir / "cfg/key.cfg"), dir / "dotfiles/key.cfg");

  // A link that leads to itself names no file.
  ASSERT_EQ(::symlink("loop.cfg", (dir / "cfg/loop.cfg").c_str()), 0);
  EXPECT_FALSE(host_path_missing(dir / "cfg/loop.cfg"));
  EXPECT_FALSE(replace_host_file(dir / "cfg/loop.cfg", "x"));
  EXPECT_EQ(link_target(dir / "cfg/loop.cfg"), "loop.cfg");
}

TEST(PlatformFiles, the_longest_file_names_are_replaced_too) {
  TempDir dir;
  const std::string name(255, 'p');
  ASSERT_TRUE(replace_host_file(dir / name, "v_mode=1\r\n"));
  ASSERT_TRUE(replace_host_file(dir / name, "v_mode=2\r\n"));
  EXPECT_EQ(fixtures::read_file(dir / name), "v_mode=2\r\n");
  EXPECT_EQ(all_names(dir.path()), std::vector<std::string>{name});
}

TEST(PlatformFiles, only_temporaries_of_our_own_naming_are_removed) {
  TempDir dir;
  for (const char* name : {".zeb-save-Ab12Cd", ".zeb-save-000000"})
    ASSERT_TRUE(fixtures::write_file(dir / name, "half a save"));
  const std::vector<std::string> kept = {".zeb-save-Ab-2Cd", ".zeb-save-Ab12C", ".zeb-save-Ab12Cd7", ".zeb-save-dir123",
                                         ".zeb-save-link12", ".zeb.cfg.Ab12Cd", "zeb-save-Ab12Cd",   "zeb.cfg"};
  for (const std::string& name : kept) {
    if (name == ".zeb-save-dir123") {
      ASSERT_TRUE(fixtures::make_dirs(dir / name));
    } else if (name == ".zeb-save-link12") {
      ASSERT_EQ(::symlink("zeb.cfg", (dir / name).c_str()), 0);
    } else {
      ASSERT_TRUE(fixtures::write_file(dir / name, "kept"));
    }
  }
  EXPECT_EQ(remove_stale_temporaries(dir.path()), 2);
  EXPECT_EQ(all_names(dir.path()), kept);
  EXPECT_EQ(remove_stale_temporaries(dir / "missing"), 0);
}

TEST(PlatformFiles, app_dir_falls_back_to_the_user_config_folder) {
  TempDir dir;
  EXPECT_EQ(resolve_app_dir(dir.path() + "/"), dir.path());
  EXPECT_EQ(resolve_app_dir(dir / "new"), dir / "new");  // created
  EXPECT_TRUE(host_dir_exists(dir / "new"));

  ASSERT_TRUE(fixtures::write_file(dir / "file", ""));
  const char* saved = std::getenv("XDG_CONFIG_HOME");
  std::string saved_value = saved ? saved : "";
  ::setenv("XDG_CONFIG_HOME", (dir / "config").c_str(), 1);
  // A folder below a plain file can be neither created nor written.
  std::string resolved = resolve_app_dir(dir / "file/sub");
  saved ? ::setenv("XDG_CONFIG_HOME", saved_value.c_str(), 1) : ::unsetenv("XDG_CONFIG_HOME");
  EXPECT_EQ(resolved, dir / "config/zeb");
  EXPECT_TRUE(host_dir_exists(dir / "config/zeb"));

  std::string exe = executable_dir();
  EXPECT_EQ(exe.front(), '/');
  EXPECT_TRUE(host_dir_exists(exe));
}

TEST(PlatformFiles, installed_programs_keep_settings_in_the_user_config_unless_portable) {
  TempDir dir;
  const char* saved = std::getenv("XDG_CONFIG_HOME");
  const std::string saved_value = saved ? saved : "";
  ::setenv("XDG_CONFIG_HOME", (dir / "config").c_str(), 1);
  ASSERT_TRUE(fixtures::make_dirs(dir / "installed/bin"));
  ASSERT_TRUE(fixtures::make_dirs(dir / "portable/ZEB_CFG"));
  ASSERT_TRUE(fixtures::make_dirs(dir / "build"));
  ASSERT_TRUE(fixtures::write_file(dir / "build/CMakeCache.txt", ""));
  const std::string installed = resolve_app_dir("", dir / "installed/bin");
  // A portable copy's settings folder is used even when it cannot be written.
  ::chmod((dir / "portable").c_str(), 0500);
  const std::string portable = resolve_app_dir("", dir / "portable");
  ::chmod((dir / "portable").c_str(), 0700);
  const std::string build = resolve_app_dir("", dir / "build/");
  const std::string chosen = resolve_app_dir(dir / "chosen", dir / "portable");
  saved ? ::setenv("XDG_CONFIG_HOME", saved_value.c_str(), 1) : ::unsetenv("XDG_CONFIG_HOME");
  EXPECT_EQ(installed, dir / "config/zeb");
  EXPECT_FALSE(host_dir_exists(dir / "installed/bin/ZEB_CFG"));
  EXPECT_EQ(portable, dir / "portable");
  EXPECT_EQ(build, dir / "build");
  EXPECT_EQ(chosen, dir / "chosen");
}

}  // namespace
}  // namespace zeb::platform
