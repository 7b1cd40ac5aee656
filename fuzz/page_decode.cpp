// Page decoding: the input is a page file's bytes, decoded as the page view
// and as the browser's one-eighth preview, then turned into a view bitmap.
#include <cstdlib>

#include "fuzz/fuzz_support.h"
#include "image/page_loader.h"
#include "view/resample.h"

namespace {

// Pages up to the bitmap limit decode, and a long strip of that size takes
// seconds to resample under the fuzzer's instrumentation; the resampler's
// own arithmetic is the same for a smaller page.
constexpr long long kMaxResampledPixels = 1LL << 22;

void decode_and_resample(std::FILE* file, bool preview) {
  std::rewind(file);
  const zeb::DecodedPage page = zeb::decode_jpeg(file, preview);
  if (!page.bitmap) return;
  // The picture must lie inside the bitmap the rows were written into.
  if (page.width <= 0 || page.height <= 0 || page.width > page.bitmap->width() ||
      page.height > page.bitmap->height())
    std::abort();
  if (static_cast<long long>(page.width) * page.height > kMaxResampledPixels) return;
  zeb::resample(*page.bitmap, page.width, page.height, 480, 640, 0, 1, 0);
  zeb::resample(*page.bitmap, page.width, page.height, 240, 320, 1, 0, 1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  zeb::platform::FilePtr file = zeb::fuzz::open_bytes(data, size);
  if (!file) return 0;
  decode_and_resample(file.get(), false);
  decode_and_resample(file.get(), true);
  return 0;
}
