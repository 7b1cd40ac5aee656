// The read-ahead's bookkeeping on the user-interface thread, and the job its
// worker runs.
//
// Cancelling sets the job's cancel flag (the decode stops at its next row or
// progress call) and then empties the result slot. The job stores its result
// only under the slot's lock and only while its flag is clear, so once a
// cancel has emptied the slot, no result of that job can appear in it: at
// most one read-ahead bitmap exists, and none outlives a cancel for long.
#include "image/read_ahead.h"

#include <memory>
#include <mutex>
#include <optional>
#include <utility>

#include "host/file_identity.h"
#include "host/worker.h"

namespace zeb {

struct ReadyPage {
  PageKey key;
  platform::FileIdentity identity;  // of the file as the worker read it
  DecodedPage page;
};

// Shared between the user-interface thread and the job.
struct ResultSlot {
  std::mutex mutex;
  std::optional<ReadyPage> ready;
};

class ReadAhead {
 public:
  std::optional<PageKey> requested;  // the page handed to the worker and not yet used up
  ReadAheadCounts counts;
  std::shared_ptr<ResultSlot> slot = std::make_shared<ResultSlot>();
  platform::Worker worker;  // declared last: joined before the rest goes

  void cancel() {
    worker.cancel();
    drop_result();
    requested.reset();
  }
  std::optional<ReadyPage> drop_result() {
    std::lock_guard lock(slot->mutex);
    return std::exchange(slot->ready, std::nullopt);
  }
};

namespace {

// Opens and decodes the page as the loader would, and keeps the result only
// when the file did not change while it was read.
void read_page(const platform::Storage& storage, const PageKey& key, ResultSlot& slot,
               const std::atomic<bool>& cancelled) {
  platform::FilePtr file = storage.open_read(key.location);
  if (!file) return;
  const std::optional<platform::FileIdentity> before = platform::identify_file(file.get());
  if (!before) return;
  DecodedPage page = decode_page(file.get(), key, DecodeLimits{&cancelled, kMaxReadAheadBitmapBytes});
  if (!page.bitmap || platform::identify_file(file.get()) != before) return;
  std::lock_guard lock(slot.mutex);
  if (cancelled.load()) return;
  slot.ready = ReadyPage{key, *before, std::move(page)};
}

}  // namespace

void read_ahead_page(Viewer& v, int index, const std::u16string& path) {
  if (!v.window.read_ahead) v.window.read_ahead = std::make_shared<ReadAhead>();
  ReadAhead& ra = *v.window.read_ahead;
  PageKey key = page_key(v, index, path);
  if (ra.requested == key) return;
  ra.cancel();
  ra.requested = key;
  ++ra.counts.started;
  ra.worker.post([storage = v.platform.storage, key = std::move(key),
                  slot = ra.slot](const std::atomic<bool>& cancelled) { read_page(storage, key, *slot, cancelled); });
}

void cancel_read_ahead(MainWindow& w) {
  if (w.read_ahead) w.read_ahead->cancel();
}

DecodedPage take_read_ahead(MainWindow& w, const PageKey& key, std::FILE* file) {
  if (!w.read_ahead || !w.read_ahead->requested) return {};
  ReadAhead& ra = *w.read_ahead;
  if (ra.requested != key) {
    ra.cancel();
    return {};
  }
  ra.worker.wait_idle();
  ra.requested.reset();
  std::optional<ReadyPage> ready = ra.drop_result();
  if (!ready || ready->key != key || platform::identify_file(file) != ready->identity) return {};
  ++ra.counts.adopted;
  return std::move(ready->page);
}

bool read_ahead_requested(const MainWindow& w, const PageKey& key) {
  return w.read_ahead && w.read_ahead->requested == key;
}

ReadAheadCounts read_ahead_counts(const MainWindow& w) {
  return w.read_ahead ? w.read_ahead->counts : ReadAheadCounts{};
}

bool read_ahead_holds_page(const MainWindow& w) {
  if (!w.read_ahead) return false;
  std::lock_guard lock(w.read_ahead->slot->mutex);
  return w.read_ahead->slot->ready.has_value();
}

void wait_for_read_ahead(MainWindow& w) {
  if (w.read_ahead) w.read_ahead->worker.wait_idle();
}

}  // namespace zeb
