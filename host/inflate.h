#pragma once
// Raw deflate streams (ZIP method 8) and the CRC-32 that ZIP records carry,
// through libdeflate.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace zeb::platform {

// Inflates a raw deflate stream that must unpack to exactly `size` bytes and
// end there. Nothing when the stream is damaged, ends early, holds more than
// `size` bytes or does not end within its input.
std::optional<std::vector<unsigned char>> inflate_raw(std::string_view compressed, std::size_t size);

// The CRC-32 of ZIP records (the common CRC-32 polynomial).
std::uint32_t crc32_of(const unsigned char* bytes, std::size_t size);

}  // namespace zeb::platform
