// Raw deflate through libdeflate: the whole stream is inflated in one call
// into a buffer of the size the archive declares (the archive's entries are
// read whole anyway), and anything but an exact fit is refused.
#include "host/inflate.h"

#include <libdeflate.h>

#include <memory>
#include <new>

namespace zeb::platform {
namespace {

struct FreeDecompressor {
  void operator()(libdeflate_decompressor* d) const { libdeflate_free_decompressor(d); }
};

}  // namespace

std::optional<std::vector<unsigned char>> inflate_raw(std::string_view compressed, std::size_t size) {
  std::vector<unsigned char> out;
  try {
    out.resize(size);
  } catch (const std::bad_alloc&) { return std::nullopt; }
  const std::unique_ptr<libdeflate_decompressor, FreeDecompressor> inflater(libdeflate_alloc_decompressor());
  if (!inflater) return std::nullopt;
  // With the count asked for, a stream that ends early is reported with its
  // length and one that holds more than `size` as insufficient space.
  std::size_t made = 0;
  const libdeflate_result result =
      libdeflate_deflate_decompress(inflater.get(), compressed.data(), compressed.size(), out.data(), size, &made);
  if (result != LIBDEFLATE_SUCCESS || made != size) return std::nullopt;
  return out;
}

std::uint32_t crc32_of(const unsigned char* bytes, std::size_t size) { return libdeflate_crc32(0, bytes, size); }

}  // namespace zeb::platform
