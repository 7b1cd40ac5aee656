// Single-instance guard: an advisory lock on the settings folder and an
// abstract Unix socket that carries the requests of later starts. A request
// is everything a sender writes before it closes the connection: "raise",
// or "open:" followed by a path.
#include "host/instance.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "host/files.h"

namespace zeb::platform {
namespace {

constexpr int kConnectAttempts = 20;           // a second start tries this often
constexpr long kConnectRetryNanos = 25000000;  // 25 ms between attempts
constexpr int kReadWaitMs = 250;               // the longest wait for one request's bytes
constexpr std::size_t kMaxRequestBytes = PATH_MAX + 16;
const std::string kRaise = "raise";
const std::string kOpen = "open:";

// Name of the request socket: the user and a hash of the folder's real path,
// so that two spellings of one folder meet on one socket.
std::string channel_name(const std::string& settings_dir) {
  char resolved[PATH_MAX];
  std::string path = ::realpath(settings_dir.c_str(), resolved) ? resolved : settings_dir;
  std::uint64_t hash = 14695981039346656037ULL;  // FNV-1a
  for (unsigned char c : path) hash = (hash ^ c) * 1099511628211ULL;
  char name[64];
  std::snprintf(name, sizeof name, "zeb-%u-%016llx", static_cast<unsigned>(::getuid()),
                static_cast<unsigned long long>(hash));
  return name;
}

// Abstract-namespace address: a leading NUL, then the name (no terminator).
socklen_t make_address(const std::string& name, sockaddr_un& addr) {
  std::memset(&addr, 0, sizeof addr);
  addr.sun_family = AF_UNIX;
  std::memcpy(addr.sun_path + 1, name.data(), name.size());
  return static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + name.size());
}

bool same_user(int fd) {
  ucred cred{};
  socklen_t len = sizeof cred;
  return ::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &cred, &len) == 0 && cred.uid == ::getuid();
}

bool try_request(const std::string& name, const std::string& message) {
  int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return false;
  sockaddr_un addr;
  socklen_t len = make_address(name, addr);
  bool sent = ::connect(fd, reinterpret_cast<sockaddr*>(&addr), len) == 0;
  for (std::size_t done = 0; sent && done < message.size();) {
    const ssize_t n = ::send(fd, message.data() + done, message.size() - done, MSG_NOSIGNAL);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += static_cast<std::size_t>(n);
  }
  ::close(fd);
  return sent;
}

// The bytes a sender wrote before closing, bounded in size and in time: a
// sender that stalls or writes too much gives a shortened request.
std::string read_request(int fd) {
  std::string message;
  char buffer[1024];
  while (message.size() < kMaxRequestBytes) {
    pollfd p{fd, POLLIN, 0};
    const int ready = ::poll(&p, 1, kReadWaitMs);
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) break;
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    message.append(buffer, static_cast<std::size_t>(n));
  }
  return message;
}

// What a start that found the folder taken asks for.
std::string request_for(const std::string& hand_over) {
  if (hand_over.empty()) return kRaise;
  char resolved[PATH_MAX];
  return kOpen + (::realpath(hand_over.c_str(), resolved) ? std::string(resolved) : hand_over);
}

}  // namespace

InstanceGuard::InstanceGuard(const std::string& settings_dir, const std::string& hand_over) {
  make_host_dirs(settings_dir);
  int fd = ::open(settings_dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    bool held = errno == EWOULDBLOCK;
    ::close(fd);
    if (held) {
      already_running_ = true;
      send_request(channel_name(settings_dir), request_for(hand_over));
    }
    return;
  }
  lock_fd_ = fd;
  // No other viewer can be saving here now: a temporary file of a save is
  // what a killed process left behind.
  remove_stale_temporaries(settings_dir);
  listen_for_requests(channel_name(settings_dir));
}

InstanceGuard::~InstanceGuard() {
  if (listen_fd_ >= 0) ::close(listen_fd_);
  if (lock_fd_ >= 0) ::close(lock_fd_);  // closing releases the lock
}

void InstanceGuard::listen_for_requests(const std::string& name) {
  int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (fd < 0) return;
  sockaddr_un addr;
  socklen_t len = make_address(name, addr);
  if (::bind(fd, reinterpret_cast<sockaddr*>(&addr), len) != 0 || ::listen(fd, 8) != 0) {
    ::close(fd);  // the viewer still runs, it just cannot be raised
    return;
  }
  listen_fd_ = fd;
}

// The first instance takes the lock a moment before its socket listens, so a
// start that races it retries for a short while; it ends either way.
void InstanceGuard::send_request(const std::string& name, const std::string& message) {
  for (int attempt = 0; attempt < kConnectAttempts; ++attempt) {
    if (try_request(name, message)) return;
    timespec pause{0, kConnectRetryNanos};
    ::nanosleep(&pause, nullptr);
  }
}

InstanceGuard::Requests InstanceGuard::take_requests() {
  Requests requests;
  if (listen_fd_ < 0) return requests;
  for (;;) {
    int fd = ::accept4(listen_fd_, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0) {
      if (errno == EINTR) continue;
      break;  // nothing more waiting
    }
    if (same_user(fd)) {
      requests.raise = true;
      const std::string message = read_request(fd);
      if (message.rfind(kOpen, 0) == 0 && message.size() > kOpen.size())
        requests.paths.push_back(message.substr(kOpen.size()));
    }
    ::close(fd);
  }
  return requests;
}

}  // namespace zeb::platform
