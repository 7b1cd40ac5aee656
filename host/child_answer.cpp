#include "host/child_answer.h"

#include <poll.h>
#include <signal.h>
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

}  // namespace

std::optional<std::string> answer_in_child(const std::function<std::string()>& ask, int timeout_ms) {
  int fds[2];
  if (pipe(fds) != 0) return std::nullopt;
  const pid_t child = fork();
  if (child < 0) {
    close(fds[0]);
    close(fds[1]);
    return std::nullopt;
  }
  if (child == 0) {
    close(fds[0]);
    answer_and_exit(fds[1], ask);
  }
  close(fds[1]);
  std::string answer;
  const bool complete = read_answer(fds[0], timeout_ms, answer);
  close(fds[0]);
  if (!complete) kill(child, SIGKILL);
  int status = 0;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {}
  if (!complete || !WIFEXITED(status) || WEXITSTATUS(status) != 0) return std::nullopt;
  return answer;
}

}  // namespace zeb::platform
