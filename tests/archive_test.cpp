#include <gtest/gtest.h>

#include <cstdio>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/files.h"
#include "sources/archive.h"
#include "tools/fixtures/fixtures.h"

namespace zeb {
namespace {

using fixtures::ZipEntry;

ZipEntry stored(std::string name, std::string data) {
  ZipEntry e;
  e.name = std::move(name);
  e.data = std::move(data);
  return e;
}
ZipEntry with_extra(ZipEntry e, std::string extra) {
  e.extra = std::move(extra);
  return e;
}
ZipEntry compressed(ZipEntry e) {
  e.compressed = true;
  return e;
}
ZipEntry utf8(ZipEntry e) {
  e.utf8_flag = true;
  return e;
}
ZipEntry with_descriptor(ZipEntry e) {
  e.data_descriptor = true;
  return e;
}

struct Listed {
  std::u16string name;
  long long offset;
  bool operator==(const Listed&) const = default;
};

class ArchiveListing : public ::testing::Test {
 protected:
  fixtures::TempDir dir;

  std::vector<Listed> list_file(const std::string& path) {
    platform::FilePtr file = platform::open_host_file(path, "rb");
    EXPECT_TRUE(file) << path;
    std::vector<Listed> out;
    if (!file) return out;
    for (const auto& e : list_archive_entries(file.get())) out.push_back({e.name, e.data_offset});
    return out;
  }
  std::vector<Listed> list_bytes(const std::string& bytes) {
    std::string path = dir / "a.zip";
    fixtures::write_file(path, bytes);
    return list_file(path);
  }
};

// Offset of the data of each record when every record is written one after
// the other: 30 header bytes, the name, the extra field, the data.
long long data_offset(const std::vector<ZipEntry>& entries, size_t k) {
  long long at = 0;
  for (size_t i = 0; i < k; ++i) at += 30 + entries[i].name.size() + entries[i].extra.size() + entries[i].data.size();
  return at + 30 + entries[k].name.size() + entries[k].extra.size();
}

TEST_F(ArchiveListing, stored_pages_in_archive_order_with_their_data_offsets) {
  std::vector<ZipEntry> entries = {
      stored("p3.jpg", "third"),
      stored("dir/", ""),
      with_extra(stored("p1.JPG", "first page"), std::string("UT\x05\x00\x01\x00\x00\x00\x00", 9)),
      stored("notes.txt", "not a page"),
      compressed(stored("squeezed.jpg", "zzz")),
      stored("dir/p2.jpeg", "second"),
  };
  std::vector<Listed> expected = {
      {u"p3.jpg", data_offset(entries, 0)},
      {u"p1.JPG", data_offset(entries, 2)},
      {u"dir/p2.jpeg", data_offset(entries, 5)},
  };
  EXPECT_EQ(list_bytes(fixtures::zip_bytes(entries)), expected);
  // Without a central directory the file ends right after the last data.
  EXPECT_EQ(list_bytes(fixtures::zip_bytes(entries, false)), expected);
}

TEST_F(ArchiveListing, names_decode_from_shift_jis_unless_flagged_utf8) {
  std::vector<ZipEntry> entries = {
      stored("\x83\x79\x81\x5b\x83\x57.jpg", "a"),          // ページ.jpg
      stored("\x95\x5c\x8e\x86.jpg", "b"),                  // 表紙: second byte is 0x5C
      utf8(stored("\xe8\xa1\xa8\xe7\xb4\x99.jpg", "c")),
  };
  std::vector<Listed> listed = list_bytes(fixtures::zip_bytes(entries));
  ASSERT_EQ(listed.size(), 3u);
  EXPECT_EQ(listed[0].name, u"ページ.jpg");
  EXPECT_EQ(listed[1].name, u"表紙.jpg");
  EXPECT_EQ(listed[2].name, u"表紙.jpg");
}

TEST_F(ArchiveListing, data_descriptor_entry_is_listed_and_ends_the_listing) {
  std::vector<ZipEntry> entries = {
      stored("a.jpg", "\xff\xd8 first"),
      with_descriptor(stored("b.jpg", "\xff\xd8 second")),
      stored("c.jpg", "\xff\xd8 third"),
  };
  std::vector<Listed> expected = {{u"a.jpg", data_offset(entries, 0)}, {u"b.jpg", data_offset(entries, 1)}};
  EXPECT_EQ(list_bytes(fixtures::zip_bytes(entries)), expected);
}

TEST_F(ArchiveListing, damaged_or_cut_archives_keep_the_entries_before_the_damage) {
  std::vector<ZipEntry> entries = {stored("a.jpg", "0123456789"), stored("b.jpg", "0123456789")};
  std::string whole = fixtures::zip_bytes(entries, false);
  // Cut inside the second entry's data: its lengths point past the end.
  EXPECT_EQ(list_bytes(whole.substr(0, whole.size() - 3)), (std::vector<Listed>{{u"a.jpg", 35}}));
  // Cut inside the second header.
  EXPECT_EQ(list_bytes(whole.substr(0, 45 + 20)), (std::vector<Listed>{{u"a.jpg", 35}}));
  // Not an archive at all.
  EXPECT_TRUE(list_bytes("JFIF and other bytes that are no local header").empty());
  EXPECT_TRUE(list_bytes("").empty());
}

TEST_F(ArchiveListing, name_longer_than_255_bytes_is_skipped_but_stepped_over) {
  std::vector<ZipEntry> entries = {
      stored(std::string(251, 'x') + ".jpg", "fits"),
      stored(std::string(252, 'y') + ".jpg", "too long"),
      stored("after.jpg", "next record"),
  };
  std::vector<Listed> listed = list_bytes(fixtures::zip_bytes(entries));
  ASSERT_EQ(listed.size(), 2u);
  EXPECT_EQ(listed[0].name.size(), 255u);
  EXPECT_EQ(listed[1], (Listed{u"after.jpg", data_offset(entries, 2)}));
}

TEST_F(ArchiveListing, only_the_first_3000_records_are_examined) {
  std::vector<ZipEntry> entries = {stored("readme.txt", "not a page")};
  for (int i = 1; i < 3010; ++i) entries.push_back(stored(std::to_string(i) + ".jpg", "x"));
  std::vector<Listed> listed = list_bytes(fixtures::zip_bytes(entries));
  ASSERT_EQ(listed.size(), 2999u);
  EXPECT_EQ(listed.back().name, u"2999.jpg");
  EXPECT_EQ(listed.back().offset, data_offset(entries, 2999));
}

TEST_F(ArchiveListing, offsets_beyond_2_gib_keep_their_full_value) {
  // A stored entry of 2.5 GiB (a sparse hole) followed by a page.
  const std::uint32_t big = 0xA0000000u;
  std::string header = fixtures::zip_bytes({stored("big.bin", "")}, false);
  for (int k = 0; k < 4; ++k) header[18 + k] = header[22 + k] = static_cast<char>((big >> (8 * k)) & 0xFF);
  std::string next = fixtures::zip_bytes({stored("after.jpg", "page")}, false);
  std::string path = dir / "big.zip";
  {
    platform::FilePtr out = platform::open_host_file(path, "wb");
    ASSERT_TRUE(out);
    std::fwrite(header.data(), 1, header.size(), out.get());
    ASSERT_EQ(fseeko(out.get(), static_cast<off_t>(header.size()) + big, SEEK_SET), 0);
    std::fwrite(next.data(), 1, next.size(), out.get());
  }
  long long expected = static_cast<long long>(header.size()) + big + 30 + 9;
  EXPECT_EQ(list_file(path), (std::vector<Listed>{{u"after.jpg", expected}}));
}

TEST_F(ArchiveListing, archive_made_by_the_zip_tool_lists_offsets_of_each_file) {
  std::string src = dir / "src";
  fixtures::make_dirs(src + "/inner");
  std::vector<std::pair<std::string, std::string>> files = {
      {"b.jpg", std::string(500, 'b')}, {"a.JPEG", std::string(700, 'a')}, {"inner/c.jpg", std::string(300, 'c')}};
  for (const auto& [name, data] : files) fixtures::write_file(src + "/" + name, data);
  // Stored, with the tool's usual extra fields (time stamps, ids).
  std::string command = "cd '" + src + "' && zip -q -0 '" + dir.path() + "/tool.zip' b.jpg a.JPEG inner/c.jpg";
  ASSERT_EQ(std::system(command.c_str()), 0);

  std::string zip = fixtures::read_file(dir / "tool.zip");
  std::vector<Listed> listed = list_file(dir / "tool.zip");
  ASSERT_EQ(listed.size(), files.size());
  for (size_t k = 0; k < files.size(); ++k) {
    EXPECT_EQ(listed[k].name, std::u16string(files[k].first.begin(), files[k].first.end()));
    EXPECT_EQ(zip.substr(listed[k].offset, files[k].second.size()), files[k].second) << k;
  }
}

}  // namespace
}  // namespace zeb
