#pragma once
// Asks a question in a short-lived child process, so that whatever answering
// it loads or starts (a graphics driver, its threads, its memory) ends with
// the child instead of staying in this process for its whole life.
#include <functional>
#include <optional>
#include <string>

namespace zeb::platform {

// Runs `ask` in a forked child and returns what it returned, or nothing when
// the child failed, ended without answering or took longer than
// `timeout_ms` (it is then killed). Call it before starting threads or
// opening connections the child must not share.
std::optional<std::string> answer_in_child(const std::function<std::string()>& ask, int timeout_ms);

}  // namespace zeb::platform
