// Configuration file: the input is zeb.cfg. The viewer starts with it, reads
// a page, saves at the exit question, and starts again from what it saved;
// the second save must repeat the first, or a save-and-reload would change
// the user's settings.
#include <cstdlib>

#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  zeb::fuzz::reset_settings();
  zeb::fuzz::write_scratch_file(zeb::fuzz::settings_path("zeb.cfg"),
                                std::string_view(reinterpret_cast<const char*>(data), size));
  std::string first;
  {
    zeb::fuzz::FuzzViewer fv;
    zeb::fuzz::run_session(fv.viewer);
    first = zeb::fuzz::saved_settings();
  }
  zeb::fuzz::FuzzViewer again;
  zeb::fuzz::run_session(again.viewer);
  if (zeb::fuzz::saved_settings() != first) std::abort();
  return 0;
}
