// Replays fuzz inputs without the fuzzing engine: every file of the folders
// (or files) named on the command line is fed once to the target. Built with
// the sanitizers of the test build, so a stored input that once crashed the
// viewer fails the test run again if the fault comes back.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "fuzz/fuzz_support.h"

namespace fs = std::filesystem;

namespace {

std::vector<fs::path> inputs_of(const fs::path& where) {
  std::vector<fs::path> files;
  std::error_code ec;
  if (fs::is_regular_file(where, ec)) return {where};
  for (const auto& entry : fs::recursive_directory_iterator(where, ec))
    if (entry.is_regular_file() && entry.path().filename().string()[0] != '.') files.push_back(entry.path());
  std::sort(files.begin(), files.end());
  return files;
}

}  // namespace

int main(int argc, char** argv) {
  std::size_t count = 0;
  for (int i = 1; i < argc; ++i) {
    for (const fs::path& file : inputs_of(argv[i])) {
      std::ifstream in(file, std::ios::binary);
      const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
      std::fprintf(stderr, "replay %s\n", file.c_str());
      LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
      ++count;
    }
  }
  std::printf("%zu inputs replayed\n", count);
  return 0;
}
