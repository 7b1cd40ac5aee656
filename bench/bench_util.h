#pragma once
// Timing helpers shared by the benchmarks: wall-clock timing, medians, and
// child processes run without a shell with their wall time and peak memory.
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>
#include <vector>

extern char** environ;

namespace zeb::bench {

// A measure that failed; it spoils every median it enters. (Differences of
// two times may be negative on a busy machine, so no negative value can
// stand for a failure.)
constexpr double kFailed = std::numeric_limits<double>::quiet_NaN();
inline bool failed(double value) { return std::isnan(value); }

constexpr double kMiB = 1024.0 * 1024.0;
// The memory the viewer may use beyond its bitmaps, in MiB.
constexpr double kMemoryBudgetMiB = 48;

inline double now_ms() {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// Processor time of the calling thread (user and system), in milliseconds.
inline double thread_cpu_ms() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

// Wall time and processor time of one piece of work, in milliseconds; both
// kFailed when it failed. Processor time is what the work costs whatever
// else the machine is doing.
struct Timing {
  double wall_ms = kFailed, cpu_ms = kFailed;
};

// Timing of one call, failed when the call reports failure.
template <typename Run>
Timing timed(Run&& run) {
  const double cpu = thread_cpu_ms(), wall = now_ms();
  if (!run()) return {};
  return Timing{now_ms() - wall, thread_cpu_ms() - cpu};
}

// Wall time of one call in milliseconds, or kFailed when the call reports
// failure.
template <typename Run>
double elapsed_ms(Run&& run) {
  const double start = now_ms();
  if (!run()) return kFailed;
  return now_ms() - start;
}

// Median of the samples (the upper one of an even count); kFailed when there
// are none or any sample failed.
inline double median(std::vector<double> samples) {
  if (samples.empty()) return kFailed;
  for (double s : samples)
    if (failed(s)) return kFailed;
  std::sort(samples.begin(), samples.end());
  return samples[samples.size() / 2];
}

// Median of `runs` timed calls.
template <typename Run>
double median_ms(int runs, Run&& run) {
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) times.push_back(elapsed_ms(run));
  return median(times);
}

struct ProcessResult {
  bool ok = false;           // started and exited with status 0
  double wall_ms = kFailed;  // from the spawn to the reaping of the child
  double cpu_ms = kFailed;   // the child's user and system time, all its threads
  long max_rss_kib = 0;      // the child's peak resident set
};

// Runs argv[0] (searched on PATH) with its standard input from `input` and
// its standard output and error discarded.
inline ProcessResult run_process(const std::vector<std::string>& argv, const std::string& input = "/dev/null") {
  ProcessResult result;
  std::vector<char*> args;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, input.c_str(), O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  const double start = now_ms();
  pid_t pid = 0;
  const int spawned = posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) return result;
  int status = 0;
  rusage usage{};
  if (wait4(pid, &status, 0, &usage) != pid) return result;
  result.wall_ms = now_ms() - start;
  result.max_rss_kib = usage.ru_maxrss;
  auto ms = [](const timeval& t) { return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_usec) / 1e3; };
  result.cpu_ms = ms(usage.ru_utime) + ms(usage.ru_stime);
  result.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
  return result;
}

// Prints how a bench is called; main returns what this returns.
inline int usage(const char* text) {
  std::fputs(text, stderr);
  return 2;
}

// Whether a program of that name can be run: found on PATH or given as a path.
inline bool have_program(const std::string& name) {
  if (name.find('/') != std::string::npos) return access(name.c_str(), X_OK) == 0;
  const char* path = std::getenv("PATH");
  std::string dirs = path ? path : "/usr/bin:/bin";
  for (size_t start = 0; start <= dirs.size();) {
    size_t end = dirs.find(':', start);
    if (end == std::string::npos) end = dirs.size();
    const std::string candidate = dirs.substr(start, end - start) + "/" + name;
    if (end > start && access(candidate.c_str(), X_OK) == 0) return true;
    start = end + 1;
  }
  return false;
}

}  // namespace zeb::bench
