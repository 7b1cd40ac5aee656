#pragma once
// Single-instance guard. Two viewers must never share one settings folder,
// so the guard is scoped to that folder: the first process to claim it holds
// an exclusive lock on the folder for as long as the guard lives and
// listens for requests from later starts: "raise your window", or "open
// this path". A later start on the same folder finds the lock taken, sends
// its request and learns that it should end at once with exit status 0.
//
// Usage in a front end:
//
//   platform::InstanceGuard guard(settings_dir, path_given_or_empty);
//   if (guard.already_running()) return 0;   // the first got the request
//   ...
//   // in the event loop, e.g. once per timer tick:
//   auto requests = guard.take_requests();
//   if (requests.raise) bring_window_to_front();
//   for (auto& path : requests.paths) open(path);
//
// The lock is the kernel's advisory lock on the folder itself, so it is
// released when the process ends however it ends, and nothing is left behind
// in the folder. The request channel is a Unix socket in the abstract
// namespace named after the user and the folder's real path; requests from
// other users are ignored.
#include <string>
#include <vector>

namespace zeb::platform {

class InstanceGuard {
 public:
  // Claims the settings folder (host path; created when missing) and, once
  // claimed, removes the temporary files of saves a killed viewer left. When
  // another instance holds it, hands it `hand_over` (a host path, sent
  // absolute with its links resolved) or, when that is empty, asks it to
  // raise its window. Never blocks for long: a second instance waits at
  // most about half a second for the first one's request channel to open.
  explicit InstanceGuard(const std::string& settings_dir, const std::string& hand_over = {});
  ~InstanceGuard();
  InstanceGuard(const InstanceGuard&) = delete;
  InstanceGuard& operator=(const InstanceGuard&) = delete;

  // True when another instance holds the folder; it has been sent this
  // start's request and this process should end with status 0.
  bool already_running() const { return already_running_; }

  // False when the folder could not be claimed at all (it cannot be created
  // or opened); the viewer then runs unguarded.
  bool guarded() const { return lock_fd_ >= 0; }

  struct Requests {
    bool raise = false;              // some later start asked to be shown
    std::vector<std::string> paths;  // paths handed over, oldest first
  };
  // First instance: the requests that arrived since the last call. Every
  // request also asks to raise the window. Waits at most a fraction of a
  // second for a sender that is slow to finish its request.
  Requests take_requests();

  // The listening socket (readable when a request is waiting), for a front
  // end that prefers to wait on it; -1 when there is none.
  int request_fd() const { return listen_fd_; }

 private:
  void listen_for_requests(const std::string& name);
  static void send_request(const std::string& name, const std::string& message);

  int lock_fd_ = -1;
  int listen_fd_ = -1;
  bool already_running_ = false;
};

}  // namespace zeb::platform
