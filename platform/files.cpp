// Placeholder until the file services land.
#include "platform/files.h"
namespace zeb::platform {
Storage::Storage(std::string root) : root_(std::move(root)) {}
std::optional<std::string> Storage::host_path(std::u16string_view) const { return std::nullopt; }
std::optional<std::u16string> Storage::location_of(const std::string&) const { return std::nullopt; }
std::vector<FindEntry> Storage::find(std::u16string_view) const { return {}; }
FilePtr Storage::open_read(std::u16string_view) const { return nullptr; }
std::vector<FindEntry> find_in_host_dir(const std::string&, std::u16string_view) { return {}; }
FilePtr open_host_file(const std::string&, const char*) { return nullptr; }
std::optional<std::string> read_host_file(const std::string&) { return std::nullopt; }
bool host_file_exists(const std::string&) { return false; }
bool host_dir_exists(const std::string&) { return false; }
bool make_host_dir(const std::string&) { return false; }
bool delete_host_file(const std::string&) { return false; }
bool replace_host_file(const std::string&, std::string_view) { return false; }
std::string executable_dir() { return "."; }
std::string resolve_app_dir(const std::string& o) { return o.empty() ? "." : o; }
bool wildcard_match(std::u16string_view, std::u16string_view) { return false; }
}
