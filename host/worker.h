#pragma once
// A background thread for work that the user-interface thread hands off and
// may abandon at any time. It runs one job at a time. Posting a job cancels
// the one that runs (without waiting for it) and replaces one still waiting;
// each job gets its own cancel flag, which it checks often and then returns
// early. The thread starts with the first job and ends with the worker,
// which cancels what runs and joins it.
#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

namespace zeb::platform {

// The processors this process may run on (at least 1).
int processors_available();

class Worker {
 public:
  using Job = std::function<void(const std::atomic<bool>& cancelled)>;

  Worker() = default;
  ~Worker();
  Worker(const Worker&) = delete;
  Worker& operator=(const Worker&) = delete;

  // Cancels the running job and runs `job` once that one has returned.
  void post(Job job);
  // Cancels the running job and drops a waiting one; does not wait.
  void cancel();
  // Blocks until no job runs or waits.
  void wait_idle();

 private:
  using Flag = std::shared_ptr<std::atomic<bool>>;
  void run();
  void cancel_locked();

  std::mutex mutex_;
  std::condition_variable changed_;
  Job waiting_;
  Flag waiting_flag_, running_flag_;  // running_flag_ is null while idle
  bool stopping_ = false;
  std::thread thread_;
};

}  // namespace zeb::platform
