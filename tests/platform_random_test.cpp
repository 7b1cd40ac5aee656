// The random source: the C library's generator, never seeded by the viewer.
#include <gtest/gtest.h>

#include <cstdlib>

#include "host/random.h"
#include "tests/harness.h"
#include "tools/fixtures/fixtures.h"

namespace zeb::platform {
namespace {

TEST(PlatformRandom, draws_the_c_library_sequence_from_where_it_stands) {
  std::srand(77);
  const int first = std::rand();
  const int second = std::rand();
  std::srand(77);
  const Random random;
  EXPECT_EQ(random.next(), first);
  EXPECT_EQ(random.next(), second);
}

TEST(PlatformRandom, a_whole_run_of_the_viewer_leaves_the_generator_unseeded) {
  fixtures::TempDir root, settings;
  std::srand(77);
  const int first = std::rand();
  std::srand(77);
  // Start-up, a browse and the exit draw nothing with random order off.
  const auto run = testing::run_script(root.path(), settings.path(), "state\nanswer yes\ncancel\n");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(std::rand(), first);
}

}  // namespace
}  // namespace zeb::platform
