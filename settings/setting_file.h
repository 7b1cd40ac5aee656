#pragma once
// Reading a settings file with a bound: only as many bytes as the file can
// usefully hold are read, however large (or endless) the file on disk is.
#include <cstddef>
#include <optional>
#include <string>

namespace zeb {

// The configuration, key bindings and a preset are a few short lines each:
// 23 lines of at most 254 bytes in CP932 make under 6 KiB, and under 9 KiB
// in UTF-8.
constexpr std::size_t kSmallSettingsFileLimit = 16 * 1024;
// The bookmark file is read before the configuration says how many pairs
// are kept, and its lookup searches every pair: a byte cap far above any
// history a reader keeps.
constexpr std::size_t kBookmarkFileLimit = 4 * 1024 * 1024;

// The bytes of a settings file, at most `limit` of them. A file longer than
// that gives only its whole lines within the limit, so no value is cut.
// nullopt when the file cannot be read, or is no regular file: it then counts
// as missing for reading.
std::optional<std::string> read_setting_file(const std::string& path, std::size_t limit);

}  // namespace zeb
