// zeb-sample-library DIR: writes the sample library into DIR (nothing is
// rewritten when DIR already holds it) and says where it is.
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

#include "tools/fixtures/fixtures.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: zeb-sample-library DIR\n");
    return 2;
  }
  const std::string dir = argv[1];
  const bool existed = zeb::fixtures::sample_library_present(dir);
  if (!zeb::fixtures::make_sample_library(dir)) {
    std::fprintf(stderr, "zeb-sample-library: cannot write the sample library into %s\n", dir.c_str());
    return 1;
  }
  std::error_code ec;
  const std::string where = std::filesystem::absolute(dir, ec).lexically_normal().string();
  std::printf("%s sample library: %s\n", existed ? "Using the" : "Wrote the", where.c_str());
  return 0;
}
