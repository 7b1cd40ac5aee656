#include "host/child_answer.h"

#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>

namespace zeb::platform {
namespace {

constexpr size_t kMaxAnswer = 4096;

[[noreturn]] void answer_and_exit(int fd, const std::function<std::string()>& ask) {
  const std::string answer = ask();
  const size_t size = std::min(answer.size(), kMaxAnswer);
  size_t written = 0;
  while (written < size) {
    const ssize_t n = write(fd, answer.data() + written, size - written);
    if (n <= 0) _exit(1);
    written += static_cast<size_t>(n);
  }
  // No exit handlers: they belong to the parent.
  _exit(0);
}

// Reads until the child closes its end, the answer is complete or the time is up.
bool read_answer(int fd, int timeout_ms, std::string& answer) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
  char buffer[512];
  for (;;) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return false;
    pollfd p{fd, POLLIN, 0};
    const int ready = poll(&p, 1, static_cast<int>(left.count()));
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) return false;
    const ssize_t n = read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    if (n == 0) return true;
    answer.append(buffer, static_cast<size_t>(n));
    if (answer.size() > kMaxAnswer) return false;
  }
}

// The child's side: waits for the go byte, then asks and answers; the go
// channel closed without it ends the child without asking.
[[noreturn]] void wait_then_answer(int go, int fd, const std::function<std::string()>& ask) {
  char byte = 0;
  ssize_t n;
  while ((n = read(go, &byte, 1)) < 0 && errno == EINTR) {}
  close(go);
  if (n != 1) _exit(0);
  answer_and_exit(fd, ask);
}

void close_fd(int& fd) {
  if (fd >= 0) close(fd);
  fd = -1;
}

}  // namespace

ChildQuestion::ChildQuestion(const std::function<std::string()>& ask) {
  int answer_pipe[2];
  int go_pipe[2];
  if (pipe(answer_pipe) != 0) return;
  if (socketpair(AF_UNIX, SOCK_STREAM, 0, go_pipe) != 0) {
    close(answer_pipe[0]);
    close(answer_pipe[1]);
    return;
  }
  const pid_t child = fork();
  if (child == 0) {
    close(answer_pipe[0]);
    close(go_pipe[1]);
    wait_then_answer(go_pipe[0], answer_pipe[1], ask);
  }
  close(answer_pipe[1]);
  close(go_pipe[0]);
  answer_fd_ = answer_pipe[0];
  go_ = go_pipe[1];
  if (child < 0) {
    close_fd(answer_fd_);
    close_fd(go_);
    return;
  }
  child_ = child;
}

ChildQuestion::~ChildQuestion() { end_child(false); }

// Closes both channels (a child still waiting for the go then ends by
// itself), kills the child when asked to, reaps it and returns its wait
// status (-1 without a child).
int ChildQuestion::end_child(bool kill_it) {
  close_fd(go_);
  close_fd(answer_fd_);
  if (child_ < 0) return -1;
  if (kill_it) kill(child_, SIGKILL);
  int status = -1;
  while (waitpid(child_, &status, 0) < 0 && errno == EINTR) {}
  child_ = -1;
  return status;
}

std::optional<std::string> ChildQuestion::answer(int timeout_ms) {
  if (child_ < 0 || go_ < 0) return std::nullopt;
  // A child that died already must not end this process by SIGPIPE.
  const char go = 1;
  const bool let = send(go_, &go, 1, MSG_NOSIGNAL) == 1;
  close_fd(go_);
  std::string answer;
  const bool complete = let && read_answer(answer_fd_, timeout_ms, answer);
  const int status = end_child(!complete);
  if (!complete || !WIFEXITED(status) || WEXITSTATUS(status) != 0) return std::nullopt;
  return answer;
}

std::optional<std::string> answer_in_child(const std::function<std::string()>& ask, int timeout_ms) {
  return ChildQuestion(ask).answer(timeout_ms);
}

}  // namespace zeb::platform
