// The worker thread: jobs run in turn, a new job cancels the running one,
// a cancel drops a waiting one, and the end of the worker cancels and joins.
#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "host/worker.h"

namespace zeb::platform {
namespace {

// A job that says it started and then runs until it is cancelled.
struct Blocker {
  std::mutex mutex;
  std::condition_variable changed;
  bool started = false;
  bool saw_cancel = false;

  Worker::Job job() {
    return [this](const std::atomic<bool>& cancelled) {
      {
        std::lock_guard lock(mutex);
        started = true;
      }
      changed.notify_all();
      while (!cancelled.load()) std::this_thread::yield();
      std::lock_guard lock(mutex);
      saw_cancel = true;
    };
  }
  // Posts the job and waits until it runs.
  void run_on(Worker& worker) {
    worker.post(job());
    std::unique_lock lock(mutex);
    changed.wait(lock, [this] { return started; });
  }
};

TEST(Worker, new_job_cancels_the_running_one_and_runs_after_it) {
  Worker worker;
  Blocker first;
  std::atomic<int> second_runs{0};
  first.run_on(worker);
  worker.post([&](const std::atomic<bool>& cancelled) {
    EXPECT_FALSE(cancelled.load());
    ++second_runs;
  });
  worker.wait_idle();
  EXPECT_TRUE(first.saw_cancel);
  EXPECT_EQ(second_runs.load(), 1);
}

TEST(Worker, cancel_drops_a_waiting_job_and_stops_the_running_one) {
  Worker worker;
  Blocker running;
  std::atomic<int> waiting_runs{0};
  running.run_on(worker);
  worker.post([&](const std::atomic<bool>&) { ++waiting_runs; });
  worker.cancel();
  worker.wait_idle();
  EXPECT_EQ(waiting_runs.load(), 0);
  // A later job still runs.
  worker.post([&](const std::atomic<bool>&) { ++waiting_runs; });
  worker.wait_idle();
  EXPECT_EQ(waiting_runs.load(), 1);
}

TEST(Worker, end_of_the_worker_cancels_and_joins_the_running_job) {
  Blocker running;
  {
    Worker worker;
    running.run_on(worker);
  }
  EXPECT_TRUE(running.saw_cancel);
}

TEST(Worker, idle_worker_without_jobs_ends_at_once) {
  Worker worker;
  worker.wait_idle();
  worker.cancel();
}

}  // namespace
}  // namespace zeb::platform
