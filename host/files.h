#pragma once
// File services. Location paths are the viewer's own ("\Card\book", UTF-16,
// "\"-separated, "" or "\" = root); Storage maps them onto host paths below
// the storage root. Settings files live in a host folder (app_dir) instead.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zeb::platform {

// The settings folder's name inside app_dir.
constexpr const char* kSettingsFolderName = "ZEB_CFG";

// Location paths live in buffers of kLocationBufferUnits UTF-16 units with
// the terminator, so the longest location path is one unit shorter.
constexpr std::size_t kLocationBufferUnits = 260;
constexpr std::size_t kMaxLocationUnits = kLocationBufferUnits - 1;

struct FindEntry {
  std::u16string name;
  bool directory = false;
};

struct FileCloser {
  void operator()(std::FILE* f) const {
    if (f) std::fclose(f);
  }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

// Moves an open file's position by a 64-bit offset from origin (SEEK_SET,
// SEEK_CUR or SEEK_END); false on failure.
bool seek_host_file(std::FILE* file, std::int64_t offset, int origin);
// An open file's size in bytes, or -1 on failure; leaves the position at the
// start.
std::int64_t host_file_size(std::FILE* file);

class Storage {
 public:
  explicit Storage(const std::string& root = "/");
  const std::string& root() const { return root_; }

  // Host path of a location path, or nullopt when the location cannot be
  // represented on the host (a NUL, a "." or ".." component, or a path that
  // is longer than kMaxLocationUnits UTF-16 units).
  std::optional<std::string> host_path(std::u16string_view location) const;
  // Location path of a host path below the root, or nullopt when it lies
  // outside the root.
  std::optional<std::u16string> location_of(const std::string& host_path) const;

  // Directory search. The pattern is a location path whose last component
  // is a wildcard pattern ("*.*", "*.jpg"); "*.*" matches every name. Names
  // are matched without regard to letter case; "." and "..", host names
  // that hold "\" or CR/LF, and anything that is neither a folder nor a
  // regular file (FIFOs, sockets, devices, dangling links) are skipped.
  // Entries come in natural order (natural_order.h).
  std::vector<FindEntry> find(std::u16string_view location_pattern) const;

  // Opens a location for reading ("rb"); null when it cannot be mapped or opened.
  FilePtr open_read(std::u16string_view location) const;

 private:
  std::string root_;
};

// Host-path helpers (UTF-8 paths).
std::vector<FindEntry> find_in_host_dir(const std::string& dir, std::u16string_view pattern);
// Opens a regular file ("rb", "wb", "ab", with or without "+"). The open
// never blocks and has no side effects on anything else: a FIFO, socket,
// device or folder at the path (or behind a link) is refused with null, as a
// missing file is. "w" truncates only once the file is known to be regular.
FilePtr open_host_file(const std::string& path, const char* mode);
// At most `limit` bytes of a regular file, from its start; nullopt when it
// cannot be opened or read (or memory for it cannot be had).
std::optional<std::string> read_host_file(const std::string& path, std::size_t limit);
bool host_file_exists(const std::string& path);  // a regular file (links followed)
// True only when nothing at all stands at the path (links followed): a file
// that exists but cannot be read, or is no regular file, is not missing.
bool host_path_missing(const std::string& path);
bool host_dir_exists(const std::string& path);
bool make_host_dir(const std::string& path);   // existing folder counts as done
bool make_host_dirs(const std::string& path);  // with every missing parent
bool delete_host_file(const std::string& path);
// Replaces a settings file atomically: writes a temporary file in the
// target's folder, flushes it to disk and renames it over the target, so the
// target is either the old or the new file. A symbolic link is written
// through (its final target is replaced and the link stays). Nothing is
// written, and false returned, when the target exists but is no regular
// file, or carries no write permission (for root too: a file without any
// write bit counts as locked by its owner). A target that already holds
// exactly `bytes` is not touched.
bool replace_host_file(const std::string& path, std::string_view bytes);
// Removes temporary files that replace_host_file left in `dir` when the
// process was killed during a save. Only names of its own pattern are
// touched; call it only while holding the folder's single-instance lock.
// Returns how many were removed.
int remove_stale_temporaries(const std::string& dir);

// Folder of the running executable.
std::string executable_dir();
// The folder used as app_dir (the settings folder is app_dir + "/ZEB_CFG"):
//  - the override (--settings) when given, created when missing;
//  - else the program's folder when a ZEB_CFG folder already stands there
//    (a portable copy), even when it cannot be written;
//  - else the program's folder when it is a build tree (CMakeCache.txt
//    beside the program), so a build runs with its own settings;
//  - else $XDG_CONFIG_HOME/zeb (default ~/.config/zeb), created when
//    missing: an installed program. It is also the fallback for an override
//    or a build tree that cannot be written.
std::string resolve_app_dir(const std::string& override_dir, const std::string& program_dir = executable_dir());

// Matches a wildcard pattern ("*", "?") against a name, ignoring letter case.
bool wildcard_match(std::u16string_view pattern, std::u16string_view name);

}  // namespace zeb::platform
