#pragma once
// Asks a question in a short-lived child process, so that whatever answering
// it loads or starts (a graphics driver, its threads, its memory) ends with
// the child instead of staying in this process for its whole life.
#include <functional>
#include <optional>
#include <string>

namespace zeb::platform {

// A question put to a child forked at construction, which waits to ask it
// until answer() lets it. Between the two this process may open what it
// needs (a display connection) knowing the child shares none of it, and
// that the child's own connections open after its own. Construct it before
// starting threads or opening connections the child must not share.
class ChildQuestion {
 public:
  explicit ChildQuestion(const std::function<std::string()>& ask);
  // A child never let ask ends without asking.
  ~ChildQuestion();
  ChildQuestion(const ChildQuestion&) = delete;
  ChildQuestion& operator=(const ChildQuestion&) = delete;

  // Lets the child ask and returns what it returned, or nothing when the
  // child failed, ended without answering or took longer than `timeout_ms`
  // (it is then killed). Only the first call asks; later ones return nothing.
  std::optional<std::string> answer(int timeout_ms);

 private:
  int end_child(bool kill_it);

  int child_ = -1;      // the child's process id, -1 once reaped or never forked
  int go_ = -1;         // a byte sent on it lets the child ask; closed first, the child ends
  int answer_fd_ = -1;  // the child's answer, read until it closes its end
};

// Forks a child, lets it ask at once and returns its answer (see above).
std::optional<std::string> answer_in_child(const std::function<std::string()>& ask, int timeout_ms);

}  // namespace zeb::platform
