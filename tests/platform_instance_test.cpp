// The single-instance guard: one holder per settings folder, raise requests.
#include <gtest/gtest.h>

#include "platform/files.h"
#include "platform/instance.h"
#include "tools/fixtures/fixtures.h"

namespace zeb::platform {
namespace {

TEST(PlatformInstance, second_guard_on_a_folder_asks_the_first_to_raise) {
  fixtures::TempDir dir;
  const std::string settings = dir / "ZEB_CFG";
  InstanceGuard first(settings);
  EXPECT_TRUE(host_dir_exists(settings));  // created when missing
  ASSERT_TRUE(first.guarded());
  EXPECT_FALSE(first.already_running());
  EXPECT_FALSE(first.raise_requested());
  {
    // Another spelling of the same folder is the same folder.
    InstanceGuard second(settings + "/./");
    EXPECT_TRUE(second.already_running());
    EXPECT_FALSE(second.guarded());
    EXPECT_FALSE(second.raise_requested());
  }
  EXPECT_TRUE(first.raise_requested());
  EXPECT_FALSE(first.raise_requested());  // reported once
}

TEST(PlatformInstance, folders_are_claimed_independently_and_freed_by_the_holder) {
  fixtures::TempDir a, b;
  {
    InstanceGuard first(a.path());
    InstanceGuard other(b.path());
    EXPECT_FALSE(other.already_running());
    InstanceGuard second(a.path());
    EXPECT_TRUE(second.already_running());
    EXPECT_FALSE(other.raise_requested());
  }
  InstanceGuard again(a.path());
  EXPECT_TRUE(again.guarded());
  EXPECT_FALSE(again.already_running());
}

TEST(PlatformInstance, unusable_folder_runs_unguarded) {
  fixtures::TempDir dir;
  ASSERT_TRUE(fixtures::write_file(dir / "file", ""));
  InstanceGuard guard(dir / "file/ZEB_CFG");
  EXPECT_FALSE(guard.guarded());
  EXPECT_FALSE(guard.already_running());
  EXPECT_FALSE(guard.raise_requested());
}

}  // namespace
}  // namespace zeb::platform
