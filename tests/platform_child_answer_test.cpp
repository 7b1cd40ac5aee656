// Questions asked in a child process: the answer comes back, what the child
// did stays in the child, and a child that fails or hangs gives no answer.
#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <string>

#include "host/child_answer.h"
#include "tools/fixtures/fixtures.h"

namespace {

using zeb::platform::answer_in_child;
using zeb::platform::ChildQuestion;

int g_touched = 0;

TEST(ChildAnswer, the_answer_comes_back_and_the_child_changes_nothing_here) {
  const auto answer = answer_in_child(
      [] {
        g_touched = 1;
        return std::string("answered by ") + std::to_string(getpid());
      },
      60000);
  ASSERT_TRUE(answer);
  EXPECT_EQ(answer->rfind("answered by ", 0), 0u);
  EXPECT_NE(*answer, "answered by " + std::to_string(getpid()));
  EXPECT_EQ(g_touched, 0);
  EXPECT_EQ(answer_in_child([] { return std::string(); }, 60000), std::string());
}

TEST(ChildAnswer, a_child_that_dies_or_hangs_gives_no_answer) {
  EXPECT_FALSE(answer_in_child([]() -> std::string { _exit(3); }, 60000));
  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(answer_in_child(
      [] {
        sleep(600);
        return std::string("too late");
      },
      200));
  // Killed, not waited for.
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(300));
}

// The child asks only once let: what this process did in between (here, a
// file written) is seen by the child, and a question never let ask is never
// asked.
TEST(ChildAnswer, the_child_asks_only_when_let_and_never_when_not) {
  const zeb::fixtures::TempDir dir;
  const std::string opened = dir / "opened", asked = dir / "asked";
  auto exists = [](const std::string& path) { return access(path.c_str(), F_OK) == 0; };
  {
    ChildQuestion question([&] { return std::string(exists(opened) ? "after" : "before"); });
    zeb::fixtures::write_file(opened, "");
    EXPECT_EQ(question.answer(60000), std::string("after"));
    EXPECT_FALSE(question.answer(60000));
  }
  {
    ChildQuestion never([&] {
      zeb::fixtures::write_file(asked, "");
      return std::string("asked");
    });
  }
  // The child has been reaped when the question ends: had it asked, the
  // file would be there now.
  EXPECT_FALSE(exists(asked));
}

}  // namespace
