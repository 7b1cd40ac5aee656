// Raw deflate through zlib: the whole stream is inflated into a buffer of
// the size the archive declares, and anything but an exact fit is refused.
#include "platform/inflate.h"

#include <zlib.h>

#include <algorithm>
#include <new>

namespace zeb::platform {
namespace {

// zlib counts its input and output in uInt; larger buffers go through in
// pieces of this many bytes.
constexpr std::size_t kChunk = 1u << 30;

class Inflater {
 public:
  Inflater() { ok_ = inflateInit2(&z_, -MAX_WBITS) == Z_OK; }
  ~Inflater() {
    if (ok_) inflateEnd(&z_);
  }
  Inflater(const Inflater&) = delete;
  Inflater& operator=(const Inflater&) = delete;

  // True when the stream ends exactly at the end of `out`.
  bool run(std::string_view in, std::vector<unsigned char>& out) {
    if (!ok_) return false;
    auto* next_in = reinterpret_cast<const Bytef*>(in.data());
    std::size_t in_left = in.size();
    std::size_t out_done = 0;
    // One spare byte past the declared size shows a stream that holds more.
    unsigned char spare = 0;
    for (;;) {
      const std::size_t out_left = out.size() - out_done;
      z_.next_in = const_cast<Bytef*>(next_in);
      z_.avail_in = static_cast<uInt>(std::min(in_left, kChunk));
      if (out_left > 0) {
        z_.next_out = out.data() + out_done;
        z_.avail_out = static_cast<uInt>(std::min(out_left, kChunk));
      } else {
        z_.next_out = &spare;
        z_.avail_out = 1;
      }
      const uInt in_given = z_.avail_in, out_given = z_.avail_out;
      const int status = ::inflate(&z_, Z_NO_FLUSH);
      const std::size_t used = in_given - z_.avail_in, made = out_given - z_.avail_out;
      next_in += used;
      in_left -= used;
      if (out_left == 0 && made > 0) return false;  // more bytes than declared
      out_done += made;
      if (status == Z_STREAM_END) return out_done == out.size();
      if (status != Z_OK) return false;  // damaged stream, or no progress (Z_BUF_ERROR)
      if (used == 0 && made == 0) return false;
    }
  }

 private:
  z_stream z_{};
  bool ok_ = false;
};

}  // namespace

std::optional<std::vector<unsigned char>> inflate_raw(std::string_view compressed, std::size_t size) {
  std::vector<unsigned char> out;
  try {
    out.resize(size);
  } catch (const std::bad_alloc&) { return std::nullopt; }
  Inflater inflater;
  if (!inflater.run(compressed, out)) return std::nullopt;
  return out;
}

std::uint32_t crc32_of(const unsigned char* bytes, std::size_t size) {
  uLong crc = ::crc32(0L, Z_NULL, 0);
  while (size > 0) {
    const auto piece = static_cast<uInt>(std::min(size, kChunk));
    crc = ::crc32(crc, bytes, piece);
    bytes += piece;
    size -= piece;
  }
  return static_cast<std::uint32_t>(crc);
}

}  // namespace zeb::platform
