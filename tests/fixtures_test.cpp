// The synthetic archives and pages that the other tests are built on.
#include <gtest/gtest.h>
#include <jpeglib.h>
#include <zlib.h>

#include <cstdint>
#include <string>

#include "tools/fixtures/fixtures.h"

namespace zeb::fixtures {
namespace {

std::uint32_t le(const std::string& bytes, size_t at, int size) {
  std::uint32_t v = 0;
  for (int i = size - 1; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(bytes.at(at + i));
  return v;
}

TEST(Fixtures, zip_local_headers_carry_names_extras_sizes_and_flags) {
  const std::string extra("UT\x01\x00\x07", 5);
  const std::vector<ZipEntry> entries = {
      {"one.jpg", "DATA1", false, extra, true, false},
      {"packed.bin", "xyz", true, "", false, false},
      {"later.jpg", "D3", false, "", false, true},
  };
  const std::string zip = zip_bytes(entries, false);

  EXPECT_EQ(le(zip, 0, 4), 0x04034b50u);
  EXPECT_EQ(le(zip, 6, 2), 1u << 11);                      // UTF-8 name flag
  EXPECT_EQ(le(zip, 18, 4), 5u);                           // compressed size
  EXPECT_EQ(le(zip, 22, 4), 5u);                           // size
  EXPECT_EQ(zip.substr(30, 7), "one.jpg");
  EXPECT_EQ(zip.substr(30 + 7, 5), extra);
  EXPECT_EQ(zip.substr(30 + 7 + 5, 5), "DATA1");

  const size_t second = 30 + 7 + 5 + 5;
  EXPECT_EQ(le(zip, second + 8, 2), 12u);  // a method the viewer does not read
  EXPECT_NE(le(zip, second + 18, 4), le(zip, second + 22, 4));
  EXPECT_EQ(le(zip, second + 18, 4), 3u);

  const size_t third = second + 30 + 10 + 3;
  EXPECT_EQ(le(zip, third + 6, 2), 1u << 3);               // data descriptor follows
  EXPECT_EQ(le(zip, third + 18, 4), 0u);
  EXPECT_EQ(le(zip, third + 22, 4), 0u);
  EXPECT_EQ(zip.substr(third + 30 + 9, 2), "D3");
  EXPECT_EQ(le(zip, third + 30 + 9 + 2, 4), 0x08074b50u);
  EXPECT_EQ(le(zip, third + 30 + 9 + 2 + 8, 4), 2u);       // descriptor's compressed size
  EXPECT_EQ(zip.size(), third + 30 + 9 + 2 + 16);          // nothing after the last record
}

TEST(Fixtures, deflated_entries_hold_a_raw_deflate_stream_of_the_data) {
  const std::string page = jpeg_bytes(64, 48);
  ZipEntry entry{"d.jpg", page};
  entry.deflate = true;
  const std::string zip = zip_bytes({entry}, false);
  EXPECT_EQ(le(zip, 8, 2), 8u);
  const std::uint32_t packed = le(zip, 18, 4);
  EXPECT_EQ(le(zip, 22, 4), page.size());
  EXPECT_EQ(zip.size(), 30 + 5 + packed);

  std::string out(page.size() + 1, '\0');
  z_stream z{};
  ASSERT_EQ(inflateInit2(&z, -MAX_WBITS), Z_OK);
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(zip.data() + 35));
  z.avail_in = packed;
  z.next_out = reinterpret_cast<Bytef*>(out.data());
  z.avail_out = static_cast<uInt>(out.size());
  EXPECT_EQ(inflate(&z, Z_FINISH), Z_STREAM_END);
  out.resize(z.total_out);
  inflateEnd(&z);
  EXPECT_EQ(out, page);
  EXPECT_EQ(le(zip, 14, 4), crc32(0, reinterpret_cast<const Bytef*>(page.data()), static_cast<uInt>(page.size())));
}

struct Header {
  int width, height, components;
  bool adobe, progressive;
};

Header read_header(const std::string& bytes) {
  jpeg_decompress_struct cinfo;
  jpeg_error_mgr jerr;
  cinfo.err = jpeg_std_error(&jerr);
  jpeg_create_decompress(&cinfo);
  jpeg_mem_src(&cinfo, reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
  jpeg_read_header(&cinfo, TRUE);
  Header h{static_cast<int>(cinfo.image_width), static_cast<int>(cinfo.image_height), cinfo.num_components,
           cinfo.saw_Adobe_marker != 0, cinfo.progressive_mode != 0};
  jpeg_destroy_decompress(&cinfo);
  return h;
}

TEST(Fixtures, jpeg_pages_have_the_asked_layout_and_repeat_exactly) {
  const Header colour = read_header(jpeg_bytes(33, 21));
  EXPECT_EQ(colour.width, 33);
  EXPECT_EQ(colour.height, 21);
  EXPECT_EQ(colour.components, 3);
  EXPECT_FALSE(colour.progressive);
  EXPECT_EQ(read_header(jpeg_bytes(40, 30, {.grey = true})).components, 1);
  const Header cmyk = read_header(jpeg_bytes(40, 30, {.cmyk = true}));
  EXPECT_EQ(cmyk.components, 4);
  EXPECT_TRUE(cmyk.adobe);
  EXPECT_TRUE(read_header(jpeg_bytes(40, 30, {.progressive = true})).progressive);

  const JpegOptions numbered{.number = 12, .scan_like = true, .seed = 3};
  EXPECT_EQ(jpeg_bytes(120, 90, numbered), jpeg_bytes(120, 90, numbered));
  EXPECT_NE(jpeg_bytes(120, 90, numbered), jpeg_bytes(120, 90, {.number = 13, .scan_like = true, .seed = 3}));
  EXPECT_TRUE(jpeg_bytes(0, 10).empty());
}

}  // namespace
}  // namespace zeb::fixtures
