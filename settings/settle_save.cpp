// The settle save's bookkeeping on the user-interface thread: the bytes the
// last tick built, how many ticks they have rested, and the bytes last handed
// to the writer (or found on disk at start-up), which decide whether a settle
// saves at all. Building reads the state and the controls and changes
// neither: nothing is recorded in the history, no control is touched.
#include "settings/settle_save.h"

#include <array>
#include <cstddef>
#include <memory>
#include <utility>
#include <vector>

#include "core/control_ids.h"
#include "host/file_writer.h"
#include "settings/bookmarks.h"
#include "settings/config.h"
#include "settings/paths.h"

namespace zeb {
namespace {

using Bytes = platform::FileWriter::Bytes;
// The files in the order a save writes them.
enum SavedFile : std::size_t { bookmark_file, configuration_file, saved_file_count };
using Files = std::array<Bytes, saved_file_count>;

bool same(const Files& a, const Files& b) {
  for (std::size_t i = 0; i < saved_file_count; ++i)
    if (!a[i] || !b[i] || *a[i] != *b[i]) return false;
  return true;
}

Bytes shared_bytes(std::optional<std::string> bytes) {
  return bytes ? std::make_shared<const std::string>(std::move(*bytes)) : nullptr;
}

std::vector<Bytes> as_list(const Files& files) { return {files.begin(), files.end()}; }

}  // namespace

class SettleSave {
 public:
  SettleSave(const Viewer& v, const Files& on_disk)
      : handed(on_disk),
        writer(settings_folder_path(v),
               {settings_file_host_path(v, kBookmarkFileName), settings_file_host_path(v, kConfigurationFileName)},
               as_list(on_disk)) {}

  Files built;  // what a confirmed exit would write, as of the last tick
  bool have_built = false;
  int resting_ticks = 0;  // ticks that have seen `built`, up to kSettleTicks
  Files handed;           // last handed to the writer; null: not known, or not written
  // The folder history `built` was made from: the bookmark bytes are made
  // again only when it changed, since a history may hold many pairs.
  std::vector<std::u16string> history;
  int saves = 0;
  platform::FileWriter writer;  // declared last: its thread ends before the rest goes
};

namespace {

// Keeps `fresh` in `slot` unless it holds the same bytes; true when it did not.
bool keep_if_changed(Bytes& slot, std::string fresh) {
  if (slot && *slot == fresh) return false;
  slot = std::make_shared<const std::string>(std::move(fresh));
  return true;
}

// Builds what a confirmed exit would write now, in the exit's order (the
// configuration, then the history); true when it differs from the last build.
bool build_exit_bytes(const Viewer& v, SettleSave& s) {
  bool changed = keep_if_changed(s.built[configuration_file], configuration_bytes(v));
  const platform::Control* history = v.dialog.find(ctl::folder_history);
  if (!s.have_built || !history || history->items != s.history) {
    if (history) s.history = history->items;
    changed = keep_if_changed(s.built[bookmark_file], bookmark_bytes(v.dialog)) || changed;
  }
  s.have_built = true;
  return changed;
}

// A file that a save could not write counts as unknown again, so the next
// settle hands it over once more, whichever file changed.
void forget_failed_saves(SettleSave& s) {
  for (const platform::FileWriter::Failure& failure : s.writer.take_failures())
    if (s.handed[failure.file] == failure.bytes) s.handed[failure.file] = nullptr;
}

SettleSave* settle_save_of(const Viewer& v) { return v.window.settle_save.get(); }

}  // namespace

void start_settle_save(Viewer& v, std::optional<std::string> bookmarks_on_disk,
                       std::optional<std::string> configuration_on_disk) {
  const Files on_disk{shared_bytes(std::move(bookmarks_on_disk)), shared_bytes(std::move(configuration_on_disk))};
  v.window.settle_save = std::make_shared<SettleSave>(v, on_disk);
}

void run_settle_save(Viewer& v) {
  SettleSave* s = settle_save_of(v);
  if (!s || v.platform.ended) return;
  forget_failed_saves(*s);
  // The tick that first sees new bytes is the first of the ten.
  if (build_exit_bytes(v, *s)) s->resting_ticks = 0;
  if (s->resting_ticks == kSettleTicks) return;  // settled before: saved, or nothing to save
  if (++s->resting_ticks < kSettleTicks || same(s->built, s->handed)) return;
  s->handed = s->built;
  ++s->saves;
  s->writer.write(as_list(s->built));
}

void finish_settle_save(Viewer& v) {
  if (SettleSave* s = settle_save_of(v)) s->writer.finish();
}

void wait_for_settle_save(Viewer& v) {
  if (SettleSave* s = settle_save_of(v)) s->writer.wait_idle();
}

SettleSaveCounts settle_save_counts(const Viewer& v) {
  const SettleSave* s = settle_save_of(v);
  if (!s) return {};
  const platform::FileWriter::Counts c = s->writer.counts();
  return {s->saves, c.files_written, c.files_failed};
}

}  // namespace zeb
