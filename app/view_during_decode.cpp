#include "app/view_during_decode.h"

#include <algorithm>
#include <atomic>
#include <climits>

#include "host/worker.h"
#include "view/resample.h"

namespace zeb {
namespace {

// Views of smaller pages are averaged on the decoding thread alone: their
// whole filter costs less than waking a thread.
constexpr long long kShareFromBytes = 1LL << 20;
// The helper sleeps until this many more lines can be averaged, so it is
// woken a few dozen times a page rather than once a line.
constexpr int kLinesPerWake = 16;
// The decoding thread takes lines itself once this many wait for the helper.
constexpr int kMostLinesBehind = 2 * kLinesPerWake;

}  // namespace

class ViewHelper {
 public:
  platform::Worker worker;
};

// The lines of one view, claimed one at a time by the decoding thread
// (thread 0) and the helper (thread 1). A line is claimed by moving `next`
// past it, so each line is averaged once; its rows are final before it is
// claimed, and the page bitmap outlives both threads' use of it (the
// decoding thread waits for the helper before the decode ends).
class SharedLines {
 public:
  explicit SharedLines(ViewBuilder& builder) : builder_(builder), lines_(builder.line_count()) {}

  // Decoding thread: rows 0 .. rows - 1 are final.
  void publish(int rows) {
    rows_.store(rows);
    if (rows >= wanted_.load()) rows_.notify_one();
    const int k = next_.load();
    if (k + kMostLinesBehind < lines_ && builder_.rows_needed(k + kMostLinesBehind) <= rows) average_ready(0);
  }
  // The helper's job: follows the rows until every line is claimed.
  void follow() {
    for (;;) {
      average_ready(1);
      const int k = next_.load();
      if (k >= lines_ || stop_.load()) return;
      const int need = builder_.rows_needed(std::min(k + kLinesPerWake, lines_) - 1);
      wanted_.store(need);
      for (int rows = rows_.load(); rows < need && !stop_.load(); rows = rows_.load()) rows_.wait(rows);
      wanted_.store(INT_MAX);
    }
  }
  // Decoding thread, the page complete: averages whatever is unclaimed.
  void finish() {
    publish(INT_MAX);
    for (int k = next_.fetch_add(1); k < lines_; k = next_.fetch_add(1)) builder_.average_shared(k, 0);
  }
  // Decoding thread, the decode abandoned: the helper stops at once.
  void stop() {
    stop_.store(true);
    rows_.store(INT_MAX);
    rows_.notify_all();
  }

 private:
  void average_ready(int thread) {
    int k = next_.load();
    while (k < lines_ && !stop_.load() && builder_.rows_needed(k) <= rows_.load()) {
      if (next_.compare_exchange_weak(k, k + 1)) {
        builder_.average_shared(k, thread);
        k = next_.load();
      }
    }
  }

  ViewBuilder& builder_;
  const int lines_;
  std::atomic<int> rows_{0};          // picture rows final so far
  std::atomic<int> wanted_{INT_MAX};  // rows the helper sleeps for; INT_MAX while it works
  std::atomic<int> next_{0};          // the next line, in decoding order, to claim
  std::atomic<bool> stop_{false};
};

ViewDuringDecode::ViewDuringDecode(const ViewSettings& settings, ViewHelper* helper)
    : settings_(settings), helper_(helper) {}

ViewDuringDecode::~ViewDuringDecode() { stop_sharing(); }

void ViewDuringDecode::stop_sharing() {
  if (!shared_) return;
  shared_->stop();
  helper_->worker.wait_idle();
  shared_.reset();
}

void ViewDuringDecode::page_started(const platform::Bitmap& page, int width, int height) {
  stop_sharing();
  builder_.reset();
  request_ = view_request_for(settings_, width, height);
  if (request_) builder_ = ViewBuilder::start(page, *request_);
  const long long bytes = static_cast<long long>(page.stride()) * page.height();
  if (!builder_ || !helper_ || !builder_->can_share() || bytes < kShareFromBytes) return;
  shared_ = std::make_unique<SharedLines>(*builder_);
  helper_->worker.post([lines = shared_.get()](const std::atomic<bool>&) { lines->follow(); });
}

void ViewDuringDecode::rows_final(int rows) {
  if (shared_) {
    shared_->publish(rows);
  } else if (builder_) {
    builder_->rows_final(rows);
  }
}

void ViewDuringDecode::page_abandoned() {
  stop_sharing();
  builder_.reset();
}

void ViewDuringDecode::hand_over(MainWindow& w, const platform::Bitmap& page) {
  drop_made_view(w);
  if (!builder_) return;
  ResampleResult view;
  if (shared_) {
    shared_->finish();
    helper_->worker.wait_idle();
    shared_.reset();
    view = builder_->take_shared();
  } else {
    view = builder_->finish();
  }
  builder_.reset();
  if (!view.bitmap) return;
  w.made_view = std::move(view.bitmap);
  w.made_view_request = *request_;
  w.made_view_page = &page;
}

ViewHelper* view_helper(MainWindow& w) {
  if (platform::processors_available() < 2) return nullptr;
  if (!w.view_helper) w.view_helper = std::make_shared<ViewHelper>();
  return w.view_helper.get();
}

}  // namespace zeb
