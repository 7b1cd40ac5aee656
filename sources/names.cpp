// Name classes and location path rules.
#include <cstddef>

#include "sources/names.h"

#include "host/files.h"
#include "host/text.h"

namespace zeb {

namespace {

// True when the name's last units, with A-Z lower-cased, equal the
// lower-case tail. No copy is made: listing a large folder classifies every
// entry.
bool has_tail(std::u16string_view name, std::u16string_view tail) {
  if (name.size() < tail.size()) return false;
  std::size_t start = name.size() - tail.size();
  for (std::size_t i = 0; i < tail.size(); ++i) {
    if (text::ascii_lower(name[start + i]) != tail[i]) return false;
  }
  return true;
}

}  // namespace

bool is_page_name(std::u16string_view name) {
  for (std::u16string_view ending : kPageEndings) {
    if (name.size() > ending.size() && name[name.size() - ending.size() - 1] == u'.' && has_tail(name, ending))
      return true;
  }
  return false;
}

// Comic archives named ".cbz" are ZIP archives under another name.
bool is_archive_name(std::u16string_view name) { return has_tail(name, u".zip") || has_tail(name, u".cbz"); }

std::u16string child_path(const std::u16string& path, const std::u16string& name) {
  // The root ("" or "\") gets a single leading separator, never two.
  if (path.size() > 1) return path + u"\\" + name;
  return u"\\" + name;
}

std::u16string parent_path(const std::u16string& path) {
  std::size_t cut = path.rfind(u'\\');
  if (cut == std::u16string::npos) return std::u16string();
  return path.substr(0, cut);
}

bool location_fits(std::u16string_view path) { return path.size() <= platform::kMaxLocationUnits; }

}  // namespace zeb
