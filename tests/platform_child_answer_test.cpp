// Questions asked in a child process: the answer comes back, what the child
// did stays in the child, and a child that fails or hangs gives no answer.
#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <string>

#include "host/child_answer.h"

namespace {

using zeb::platform::answer_in_child;

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

}  // namespace
