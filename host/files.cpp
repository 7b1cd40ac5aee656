// File services: location paths mapped below the storage root, directory
// search, whole-file helpers, atomic replacement and the program's folders.
#include "host/files.h"

#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <new>

#include "host/natural_order.h"
#include "host/text.h"

namespace zeb::platform {
namespace {

// Drops trailing slashes, keeping "/" itself; an empty root is "/".
std::string trim_slashes(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  if (path.empty()) path = "/";
  return path;
}

std::string join_host(const std::string& dir, const std::string& name) {
  return dir == "/" ? "/" + name : dir + "/" + name;
}

// Splits on the separator, dropping empty components (so that "\", "" and
// a doubled separator all stand for the folder above).
template <typename Char>
std::vector<std::basic_string<Char>> split(std::basic_string_view<Char> path, Char sep) {
  std::vector<std::basic_string<Char>> parts;
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find(sep, start);
    if (end == std::basic_string_view<Char>::npos) end = path.size();
    if (end > start) parts.emplace_back(path.substr(start, end - start));
    start = end + 1;
  }
  return parts;
}

// A host name that a location path can hold: no separator of the viewer,
// no line break (the settings files are line based) and valid UTF-8, so
// that the location maps back to the very same host name.
bool representable(const std::string& name, std::u16string* as_utf16) {
  if (name.find_first_of("\\\r\n") != std::string::npos) return false;
  std::u16string wide = text::from_utf8(name);
  if (text::to_utf8(wide) != name) return false;
  if (as_utf16) *as_utf16 = std::move(wide);
  return true;
}

// An absolute host path: a relative one is taken from the working folder.
std::string absolute_host_path(const std::string& path) {
  if (path.empty() || path[0] == '/') return trim_slashes(path);
  char cwd[PATH_MAX];
  if (!::getcwd(cwd, sizeof cwd)) return trim_slashes(path);
  return trim_slashes(join_host(cwd, path));
}

std::optional<std::string> real_host_path(const std::string& path) {
  char resolved[PATH_MAX];
  if (!::realpath(path.c_str(), resolved)) return std::nullopt;
  return std::string(resolved);
}

// Location of an absolute, trimmed host path below an absolute root.
std::optional<std::u16string> location_below(const std::string& root, const std::string& path) {
  std::string rest;
  if (root == "/") {
    rest = path;
  } else if (path == root) {
    rest = "";
  } else if (path.compare(0, root.size(), root) == 0 && path[root.size()] == '/') {
    rest = path.substr(root.size());
  } else {
    return std::nullopt;
  }
  std::u16string location;
  for (const std::string& part : split<char>(rest, '/')) {
    if (part == ".") continue;
    std::u16string wide;
    if (part == ".." || !representable(part, &wide)) return std::nullopt;
    location += u'\\';
    location += wide;
  }
  if (location.empty()) return u"\\";
  if (location.size() > kMaxLocationUnits) return std::nullopt;
  return location;
}

// Plain "*" and "?" matching with backtracking to the last star.
bool glob_match(std::u16string_view pattern, std::u16string_view name) {
  size_t p = 0, n = 0;
  size_t star = std::u16string_view::npos, resume = 0;
  while (n < name.size()) {
    if (p < pattern.size() && (pattern[p] == u'?' || text::ascii_lower(pattern[p]) == text::ascii_lower(name[n]))) {
      ++p;
      ++n;
    } else if (p < pattern.size() && pattern[p] == u'*') {
      star = p++;
      resume = n;
    } else if (star != std::u16string_view::npos) {
      p = star + 1;
      n = ++resume;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == u'*') ++p;
  return p == pattern.size();
}

enum class EntryKind { folder, file, other };

// Only folders and regular files are offered: opening a FIFO, a socket or a
// device named like a page or an archive could block or never end. Links
// are followed, so a link to a folder lists as a folder and a dangling link
// not at all.
EntryKind entry_kind(int dir_fd, const dirent* entry) {
  if (entry->d_type == DT_DIR) return EntryKind::folder;
  if (entry->d_type == DT_REG) return EntryKind::file;
  if (entry->d_type != DT_UNKNOWN && entry->d_type != DT_LNK) return EntryKind::other;
  struct stat st;
  if (fstatat(dir_fd, entry->d_name, &st, 0) != 0) return EntryKind::other;
  if (S_ISDIR(st.st_mode)) return EntryKind::folder;
  return S_ISREG(st.st_mode) ? EntryKind::file : EntryKind::other;
}

bool write_all(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

void sync_dir(const std::string& dir) {
  int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

std::string config_home() {
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  if (xdg && xdg[0] == '/') return xdg;
  const char* home = std::getenv("HOME");
  if (home && home[0] == '/') return join_host(trim_slashes(home), ".config");
  const passwd* pw = getpwuid(getuid());
  if (pw && pw->pw_dir && pw->pw_dir[0] == '/') return join_host(trim_slashes(pw->pw_dir), ".config");
  return "/tmp";
}

bool writable_dir(const std::string& dir) { return host_dir_exists(dir) && ::access(dir.c_str(), W_OK | X_OK) == 0; }

// Temporary files of a save: a short fixed prefix, so any target name fits,
// and mkostemp's six random letters and digits.
constexpr std::string_view kTempPrefix = ".zeb-save-";
constexpr std::size_t kTempRandom = 6;
constexpr int kMaxLinkHops = 40;  // as the kernel's own limit for a path

std::string parent_of(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// Open flags of an fopen mode ("r", "w" or "a", "+" for both ways; "b" and
// the rest ignored). "w" does not truncate here: the caller truncates once
// the file is known to be regular.
bool open_flags(const char* mode, int& flags) {
  if (!mode) return false;
  const bool both = std::strchr(mode, '+') != nullptr;
  const int access = both ? O_RDWR : O_WRONLY;
  switch (mode[0]) {
    case 'r': flags = both ? O_RDWR : O_RDONLY; return true;
    case 'w': flags = access | O_CREAT; return true;
    case 'a': flags = access | O_CREAT | O_APPEND; return true;
    default: return false;
  }
}

// Makes a descriptor of a regular file blocking again (it was opened without
// blocking so that a FIFO or device could never hold up the open).
bool make_blocking(int fd) {
  const int flags = ::fcntl(fd, F_GETFL);
  return flags >= 0 && ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) == 0;
}

// The file a write to `path` lands in: symbolic links followed to their
// final target, a relative target taken from its link's folder. A missing
// final target is where the new file goes. nullopt for a loop.
std::optional<std::string> write_target(std::string path) {
  for (int hop = 0; hop < kMaxLinkHops; ++hop) {
    struct stat st;
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
    char buffer[PATH_MAX];
    const ssize_t n = ::readlink(path.c_str(), buffer, sizeof buffer);
    if (n <= 0 || static_cast<size_t>(n) >= sizeof buffer) return std::nullopt;
    const std::string link(buffer, static_cast<size_t>(n));
    path = link[0] == '/' ? link : join_host(parent_of(path), link);
  }
  return std::nullopt;
}

// A file the user made read-only is kept as it is: it needs write permission,
// and for root, who has that anyway, at least one write bit.
bool may_replace(const std::string& path, const struct stat& st) {
  return S_ISREG(st.st_mode) && (st.st_mode & 0222) != 0 && ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0;
}

bool is_temporary_name(std::string_view name) {
  if (name.size() != kTempPrefix.size() + kTempRandom || name.substr(0, kTempPrefix.size()) != kTempPrefix)
    return false;
  for (char c : name.substr(kTempPrefix.size()))
    if (!std::isalnum(static_cast<unsigned char>(c))) return false;
  return true;
}

}  // namespace

Storage::Storage(const std::string& root) : root_(absolute_host_path(root)) {}

std::optional<std::string> Storage::host_path(std::u16string_view location) const {
  if (location.size() > kMaxLocationUnits) return std::nullopt;
  if (location.find(u'\0') != std::u16string_view::npos) return std::nullopt;
  std::string host = root_;
  for (const std::u16string& part : split(location, u'\\')) {
    // A "/" inside a component would let a location climb out of the root.
    if (part == u"." || part == u".." || part.find(u'/') != std::u16string::npos) return std::nullopt;
    host = join_host(host, text::to_utf8(part));
  }
  return host;
}

std::optional<std::u16string> Storage::location_of(const std::string& host_path) const {
  if (host_path.empty()) return std::nullopt;
  std::string path = absolute_host_path(host_path);
  if (auto location = location_below(root_, path)) return location;
  // The same folder may be reached through a link on either side.
  std::optional<std::string> real_root = real_host_path(root_);
  std::optional<std::string> real_path = real_host_path(path);
  if (!real_root || !real_path || (*real_root == root_ && *real_path == path)) return std::nullopt;
  return location_below(*real_root, *real_path);
}

std::vector<FindEntry> Storage::find(std::u16string_view location_pattern) const {
  size_t sep = location_pattern.find_last_of(u'\\');
  std::u16string_view dir = sep == std::u16string_view::npos ? u"" : location_pattern.substr(0, sep);
  std::u16string_view pattern = sep == std::u16string_view::npos ? location_pattern : location_pattern.substr(sep + 1);
  std::optional<std::string> host = host_path(dir);
  if (!host || location_pattern.size() > kMaxLocationUnits) return {};
  return find_in_host_dir(*host, pattern);
}

FilePtr Storage::open_read(std::u16string_view location) const {
  std::optional<std::string> host = host_path(location);
  if (!host) return nullptr;
  return open_host_file(*host, "rb");
}

std::vector<FindEntry> find_in_host_dir(const std::string& dir, std::u16string_view pattern) {
  // Host names travel with the entries so that they can be put in order by
  // their bytes.
  std::vector<std::pair<std::string, FindEntry>> found;
  DIR* handle = ::opendir(dir.c_str());
  if (!handle) return {};
  while (const dirent* entry = ::readdir(handle)) {
    std::string name = entry->d_name;
    if (name == "." || name == "..") continue;
    FindEntry e;
    if (!representable(name, &e.name) || !wildcard_match(pattern, e.name)) continue;
    const EntryKind kind = entry_kind(::dirfd(handle), entry);
    if (kind == EntryKind::other) continue;
    e.directory = kind == EntryKind::folder;
    found.emplace_back(std::move(name), std::move(e));
  }
  ::closedir(handle);
  // The host lists names in the order of its own tables; readers expect
  // the pages of a book in their natural order.
  std::vector<std::string_view> names;
  names.reserve(found.size());
  for (const auto& f : found) names.push_back(f.first);
  const std::vector<std::size_t> order = natural_order(names);
  std::vector<FindEntry> entries;
  entries.reserve(found.size());
  for (std::size_t i : order) entries.push_back(std::move(found[i].second));
  return entries;
}

FilePtr open_host_file(const std::string& path, const char* mode) {
  int flags = 0;
  if (!open_flags(mode, flags)) return nullptr;
  // Looked at before the open as well, so that a device is never opened at
  // all (opening one can have effects of its own).
  struct stat st;
  if (::stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) return nullptr;
  const int fd = ::open(path.c_str(), flags | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666);
  if (fd < 0) return nullptr;
  // The path may name something else by now: the open file decides.
  const bool regular = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
  const bool truncated = mode[0] != 'w' || ::ftruncate(fd, 0) == 0;
  std::FILE* file = regular && truncated && make_blocking(fd) ? ::fdopen(fd, mode) : nullptr;
  if (!file) {
    ::close(fd);
    return nullptr;
  }
  return FilePtr(file);
}

bool seek_host_file(std::FILE* file, std::int64_t offset, int origin) {
  return fseeko(file, static_cast<off_t>(offset), origin) == 0;
}

std::int64_t host_file_size(std::FILE* file) {
  if (!seek_host_file(file, 0, SEEK_END)) return -1;
  const std::int64_t size = ftello(file);
  if (!seek_host_file(file, 0, SEEK_SET)) return -1;
  return size;
}

std::optional<std::string> read_host_file(const std::string& path, std::size_t limit) {
  FilePtr file = open_host_file(path, "rb");
  if (!file) return std::nullopt;
  try {
    std::string bytes;
    char buffer[65536];
    while (bytes.size() < limit) {
      const size_t want = std::min(sizeof buffer, limit - bytes.size());
      const size_t n = std::fread(buffer, 1, want, file.get());
      bytes.append(buffer, n);
      if (n < want) break;
    }
    if (std::ferror(file.get())) return std::nullopt;
    return bytes;
  } catch (const std::bad_alloc&) { return std::nullopt; }
}

bool host_file_exists(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool host_path_missing(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) != 0 && errno == ENOENT;
}

bool host_dir_exists(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool make_host_dir(const std::string& path) {
  if (::mkdir(path.c_str(), 0777) == 0) return true;
  return errno == EEXIST && host_dir_exists(path);
}

bool make_host_dirs(const std::string& path) {
  if (path.empty() || host_dir_exists(path)) return !path.empty();
  size_t slash = path.find_last_of('/');
  if (slash != std::string::npos && slash > 0 && !make_host_dirs(path.substr(0, slash))) return false;
  return make_host_dir(path);
}

bool delete_host_file(const std::string& path) { return ::unlink(path.c_str()) == 0; }

bool replace_host_file(const std::string& path, std::string_view bytes) {
  const std::optional<std::string> target = write_target(path);
  if (!target) return false;
  struct stat old;
  const bool exists = ::stat(target->c_str(), &old) == 0;
  if (exists ? !may_replace(*target, old) : errno != ENOENT) return false;
  // A file that already holds these bytes is left as it is: the viewer
  // writes its settings at every start and exit, mostly unchanged, and each
  // replace waits for the disk twice.
  if (exists && static_cast<std::size_t>(old.st_size) == bytes.size() && read_host_file(*target, bytes.size()) == bytes)
    return true;
  const std::string dir = parent_of(*target);
  std::string temp = join_host(dir, std::string(kTempPrefix) + std::string(kTempRandom, 'X'));
  int fd = ::mkostemp(temp.data(), O_CLOEXEC);
  if (fd < 0) return false;
  // Keep the permissions of the file being replaced; a new file is 0644.
  ::fchmod(fd, exists ? (old.st_mode & 07777) : 0644);
  bool ok = write_all(fd, bytes) && ::fsync(fd) == 0;
  ok = (::close(fd) == 0) && ok;
  if (ok) ok = ::rename(temp.c_str(), target->c_str()) == 0;
  if (!ok) {
    ::unlink(temp.c_str());
    return false;
  }
  sync_dir(dir);
  return true;
}

int remove_stale_temporaries(const std::string& dir) {
  DIR* handle = ::opendir(dir.c_str());
  if (!handle) return 0;
  int removed = 0;
  while (const dirent* entry = ::readdir(handle)) {
    if (!is_temporary_name(entry->d_name)) continue;
    struct stat st;
    if (::fstatat(::dirfd(handle), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(st.st_mode)) continue;
    if (::unlinkat(::dirfd(handle), entry->d_name, 0) == 0) ++removed;
  }
  ::closedir(handle);
  return removed;
}

std::string executable_dir() {
  char buffer[PATH_MAX];
  ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  if (n <= 0) return ".";
  std::string exe(buffer, static_cast<size_t>(n));
  size_t slash = exe.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : exe.substr(0, slash);
}

std::string resolve_app_dir(const std::string& override_dir, const std::string& program_dir) {
  std::string program = trim_slashes(program_dir);
  std::string dir = trim_slashes(override_dir.empty() ? program : override_dir);
  if (!override_dir.empty()) make_host_dirs(dir);
  if (override_dir.empty() && host_dir_exists(join_host(program, kSettingsFolderName))) return program;
  const bool build_tree = host_file_exists(join_host(program, "CMakeCache.txt"));
  if ((!override_dir.empty() || build_tree) && writable_dir(dir)) return dir;
  std::string fallback = join_host(trim_slashes(config_home()), "zeb");
  make_host_dirs(fallback);
  return fallback;
}

bool wildcard_match(std::u16string_view pattern, std::u16string_view name) {
  if (glob_match(pattern, name)) return true;
  // A trailing ".*" also matches a name without any dot, so "*.*" matches
  // every name and "read.*" matches "read".
  if (text::ends_with(pattern, u".*") && name.find(u'.') == std::u16string_view::npos) {
    return glob_match(pattern.substr(0, pattern.size() - 2), name);
  }
  return false;
}

}  // namespace zeb::platform
