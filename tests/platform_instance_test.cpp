// The single-instance guard: one holder per settings folder, raise requests.
#include <gtest/gtest.h>
#include <limits.h>
#include <stdlib.h>
#include <unistd.h>

#include "host/files.h"
#include "host/instance.h"
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
  EXPECT_FALSE(first.take_requests().raise);
  {
    // Another spelling of the same folder is the same folder.
    InstanceGuard second(settings + "/./");
    EXPECT_TRUE(second.already_running());
    EXPECT_FALSE(second.guarded());
    EXPECT_FALSE(second.take_requests().raise);
  }
  EXPECT_TRUE(first.take_requests().raise);
  EXPECT_FALSE(first.take_requests().raise);  // reported once
}

TEST(PlatformInstance, a_later_start_hands_its_path_over_absolute_and_real) {
  fixtures::TempDir dir;
  ASSERT_TRUE(fixtures::make_dirs(dir / "books/one"));
  ASSERT_EQ(::symlink((dir / "books").c_str(), (dir / "link").c_str()), 0);
  InstanceGuard first(dir / "ZEB_CFG");
  { InstanceGuard second(dir / "ZEB_CFG", dir / "link/one/../one"); }
  { InstanceGuard third(dir / "ZEB_CFG"); }
  { InstanceGuard fourth(dir / "ZEB_CFG", dir / "missing name"); }  // sent as given
  const InstanceGuard::Requests requests = first.take_requests();
  EXPECT_TRUE(requests.raise);
  char real[PATH_MAX];
  ASSERT_TRUE(::realpath((dir / "books/one").c_str(), real));
  EXPECT_EQ(requests.paths, (std::vector<std::string>{real, dir / "missing name"}));
  EXPECT_TRUE(first.take_requests().paths.empty());
}

TEST(PlatformInstance, folders_are_claimed_independently_and_freed_by_the_holder) {
  fixtures::TempDir a, b;
  {
    InstanceGuard first(a.path());
    InstanceGuard other(b.path());
    EXPECT_FALSE(other.already_running());
    InstanceGuard second(a.path());
    EXPECT_TRUE(second.already_running());
    EXPECT_FALSE(other.take_requests().raise);
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
  EXPECT_FALSE(guard.take_requests().raise);
}

}  // namespace
}  // namespace zeb::platform
