#include "host/worker.h"

#include <sched.h>

#include <algorithm>
#include <utility>

namespace zeb::platform {

int processors_available() {
  cpu_set_t set;
  CPU_ZERO(&set);
  if (sched_getaffinity(0, sizeof set, &set) != 0) return 1;
  return std::max(1, CPU_COUNT(&set));
}

Worker::~Worker() {
  {
    std::lock_guard lock(mutex_);
    cancel_locked();
    stopping_ = true;
  }
  changed_.notify_all();
  if (thread_.joinable()) thread_.join();
}

void Worker::post(Job job) {
  {
    std::lock_guard lock(mutex_);
    cancel_locked();
    waiting_ = std::move(job);
    waiting_flag_ = std::make_shared<std::atomic<bool>>(false);
    if (!thread_.joinable()) thread_ = std::thread([this] { run(); });
  }
  changed_.notify_all();
}

void Worker::cancel() {
  std::lock_guard lock(mutex_);
  cancel_locked();
}

void Worker::cancel_locked() {
  if (running_flag_) running_flag_->store(true);
  waiting_ = nullptr;
  waiting_flag_.reset();
}

void Worker::wait_idle() {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [this] { return !waiting_ && !running_flag_; });
}

void Worker::run() {
  std::unique_lock lock(mutex_);
  for (;;) {
    changed_.wait(lock, [this] { return stopping_ || waiting_; });
    if (stopping_) return;
    Job job = std::exchange(waiting_, nullptr);
    running_flag_ = std::exchange(waiting_flag_, nullptr);
    const Flag flag = running_flag_;
    lock.unlock();
    job(*flag);
    job = nullptr;  // what the job holds goes with it, before anyone waits on idle
    lock.lock();
    running_flag_.reset();
    changed_.notify_all();
  }
}

}  // namespace zeb::platform
