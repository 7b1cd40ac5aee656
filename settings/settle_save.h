#pragma once
// Saving the reader's place when the reader settles. At every tick the bytes
// a confirmed exit would write now are built with the exit's own functions
// (zeb.cfg from the state and the controls, auto_bk.dat from the folder
// history), reading only. Once they differ from what is on disk and have not
// changed for kSettleTicks ticks, they are handed to a writer thread, which
// replaces auto_bk.dat first and zeb.cfg second, each atomically: a kill
// between the two leaves the history naming the page beside the old
// configuration, and each file is either old or new. A viewer at rest, and
// turns faster than the settle, write nothing.
#include <optional>
#include <string>

#include "core/viewer.h"

namespace zeb {

// Ticks (100 ms each) the bytes must stay the same before they are saved.
constexpr int kSettleTicks = 10;

// End of start-up: the bytes the start-up read or wrote for each file (what
// read_bookmarks and read_configuration return); nullopt when not known.
void start_settle_save(Viewer& v, std::optional<std::string> bookmarks_on_disk,
                       std::optional<std::string> configuration_on_disk);
// One tick's part: builds the bytes, counts the ticks they rest, and hands
// them over once they have settled. Costs the tick no disk access.
void run_settle_save(Viewer& v);
// Before a confirmed exit writes: drops a save not yet begun and waits for
// the one under way, so that the exit's files are the last written.
void finish_settle_save(Viewer& v);
// Waits until every save handed over is on disk (the end of the window, the
// script front end's ticks, tests).
void wait_for_settle_save(Viewer& v);

struct SettleSaveCounts {
  int saves = 0;          // settles that handed bytes to the writer
  int files_written = 0;  // files replaced by those saves
  int files_failed = 0;   // files a save could not replace
};
SettleSaveCounts settle_save_counts(const Viewer& v);

}  // namespace zeb
