#include <gtest/gtest.h>

#include <cstdio>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "host/files.h"
#include "host/text.h"
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

ZipEntry deflated(ZipEntry e) {
  e.deflate = true;
  return e;
}

std::uint32_t le32_at(const std::string& b, size_t at) {
  std::uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(b.at(at + i));
  return v;
}
void put32_at(std::string& b, size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b.at(at + i) = static_cast<char>((v >> (8 * i)) & 0xFF);
}

// The same archive with the signature of every data descriptor removed and
// the central directory's offsets moved back to match.
std::string without_descriptor_signatures(const std::string& zip, const std::vector<ZipEntry>& entries) {
  // Sizes of each entry's data, from the central directory (the local
  // headers of descriptor entries hold zeros).
  size_t directory = le32_at(zip, zip.size() - 22 + 16);
  std::vector<size_t> cuts;  // offsets of the removed signatures
  size_t record = 0, central = directory;
  for (const ZipEntry& e : entries) {
    size_t data_end = record + 30 + e.name.size() + e.extra.size() + le32_at(zip, central + 20);
    central += 46 + e.name.size() + e.extra.size();
    record = data_end + (e.data_descriptor ? 16 : 0);
    if (e.data_descriptor) cuts.push_back(data_end);
  }
  auto moved = [&](size_t offset) {
    size_t shift = 0;
    for (size_t cut : cuts) shift += cut < offset ? 4 : 0;
    return offset - shift;
  };
  std::string out;
  size_t from = 0;
  for (size_t cut : cuts) {
    out += zip.substr(from, cut - from);
    from = cut + 4;
  }
  out += zip.substr(from);
  size_t new_directory = moved(directory);
  central = new_directory;
  for (const ZipEntry& e : entries) {
    put32_at(out, central + 42, static_cast<std::uint32_t>(moved(le32_at(out, central + 42))));
    central += 46 + e.name.size() + e.extra.size();
  }
  put32_at(out, out.size() - 22 + 16, static_cast<std::uint32_t>(new_directory));
  return out;
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
  std::vector<ArchiveEntry> list_entries(const std::string& bytes) {
    std::string path = dir / "a.zip";
    fixtures::write_file(path, bytes);
    platform::FilePtr file = platform::open_host_file(path, "rb");
    return file ? list_archive_entries(file.get()) : std::vector<ArchiveEntry>{};
  }
  // The entry's bytes as read for the page loader, or "(refused)".
  std::string inflated(const std::string& bytes, const ArchiveEntry& entry) {
    std::string path = dir / "i.zip";
    fixtures::write_file(path, bytes);
    platform::FilePtr file = platform::open_host_file(path, "rb");
    std::optional<std::vector<unsigned char>> out = read_deflated_entry(file.get(), entry);
    return out ? std::string(out->begin(), out->end()) : "(refused)";
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

TEST_F(ArchiveListing, names_are_utf8_when_flagged_or_well_formed_and_shift_jis_otherwise) {
  std::vector<ZipEntry> entries = {
      stored("\x83\x79\x81\x5b\x83\x57.jpg", "a"),  // ページ.jpg
      stored("\x95\x5c\x8e\x86.jpg", "b"),          // 表紙: second byte is 0x5C
      utf8(stored("\xe8\xa1\xa8\xe7\xb4\x99.jpg", "c")),
      stored("\xe8\xa1\xa8\xe7\xb4\x99.jpg", "d"),  // UTF-8 without the flag
      stored("\xc3\xa9t\xc3\xa9.jpg", "e"),         // été.jpg, UTF-8 without the flag
      stored("\xe8\xa1\xa8\xe7\xb4.jpg", "f"),      // cut short: not UTF-8
      stored("plain.jpg", "g"),
  };
  std::vector<Listed> listed = list_bytes(fixtures::zip_bytes(entries));
  ASSERT_EQ(listed.size(), entries.size());
  EXPECT_EQ(listed[0].name, u"ページ.jpg");
  EXPECT_EQ(listed[1].name, u"表紙.jpg");
  EXPECT_EQ(listed[2].name, u"表紙.jpg");
  EXPECT_EQ(listed[3].name, u"表紙.jpg");
  EXPECT_EQ(listed[4].name, u"été.jpg");
  EXPECT_EQ(listed[5].name, text::from_cp932("\xe8\xa1\xa8\xe7\xb4.jpg"));
  EXPECT_EQ(listed[6].name, u"plain.jpg");
}

TEST_F(ArchiveListing, descriptor_entries_take_their_sizes_from_the_central_directory) {
  const std::string page = fixtures::jpeg_bytes(40, 30);
  std::vector<ZipEntry> entries = {
      stored("a.jpg", "\xff\xd8 first"),
      with_descriptor(stored("b.jpg", "\xff\xd8 second")),
      with_descriptor(deflated(stored("c.jpg", page))),
      stored("d.jpg", "\xff\xd8 fourth"),
  };
  std::string zip = fixtures::zip_bytes(entries);
  std::vector<ArchiveEntry> listed = list_entries(zip);
  ASSERT_EQ(listed.size(), 4u);
  for (size_t k = 0; k < listed.size(); ++k) EXPECT_EQ(listed[k].name, text::from_utf8(entries[k].name));
  EXPECT_EQ(listed[1].size, 9u);
  EXPECT_TRUE(listed[2].deflated);
  EXPECT_EQ(listed[2].size, page.size());
  EXPECT_EQ(inflated(zip, listed[2]), page);
  EXPECT_EQ(zip.substr(listed[3].data_offset, 9), "\xff\xd8 fourth");

  // The same records with descriptors that lack their signature.
  std::string unsigned_zip = without_descriptor_signatures(zip, entries);
  listed = list_entries(unsigned_zip);
  ASSERT_EQ(listed.size(), 4u);
  EXPECT_EQ(inflated(unsigned_zip, listed[2]), page);
  EXPECT_EQ(unsigned_zip.substr(listed[3].data_offset, 9), "\xff\xd8 fourth");
}

TEST_F(ArchiveListing, descriptor_entries_without_a_directory_end_the_listing) {
  // A stored one counts as an entry without data; a deflated one cannot be
  // read at all. The next record is looked for at the data either way.
  std::vector<ZipEntry> entries = {
      stored("a.jpg", "\xff\xd8 first"),
      with_descriptor(stored("b.jpg", "\xff\xd8 second")),
      stored("c.jpg", "\xff\xd8 third"),
  };
  std::vector<Listed> expected = {{u"a.jpg", data_offset(entries, 0)}, {u"b.jpg", data_offset(entries, 1)}};
  EXPECT_EQ(list_bytes(fixtures::zip_bytes(entries, false)), expected);
  entries[1] = with_descriptor(deflated(stored("b.jpg", "\xff\xd8 second")));
  EXPECT_EQ(list_bytes(fixtures::zip_bytes(entries, false)), (std::vector<Listed>{expected[0]}));
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

TEST_F(ArchiveListing, deflated_pages_are_listed_in_archive_order_and_inflate_to_their_bytes) {
  const std::string one = fixtures::jpeg_bytes(48, 32, {.number = 1});
  const std::string two = fixtures::jpeg_bytes(32, 48, {.number = 2});
  std::vector<ZipEntry> entries = {
      deflated(stored("1.jpg", one)),
      stored("2.jpg", two),
      deflated(stored("notes.txt", "not a page")),
      compressed(stored("3.jpg", "packed some other way")),
      deflated(stored("4.jpeg", two + one)),
  };
  const std::string zip = fixtures::zip_bytes(entries);
  std::vector<ArchiveEntry> listed = list_entries(zip);
  ASSERT_EQ(listed.size(), 3u);
  EXPECT_EQ(listed[0].name, u"1.jpg");
  EXPECT_TRUE(listed[0].deflated);
  EXPECT_EQ(listed[0].size, one.size());
  EXPECT_EQ(inflated(zip, listed[0]), one);
  EXPECT_EQ(listed[1].name, u"2.jpg");
  EXPECT_FALSE(listed[1].deflated);
  EXPECT_EQ(zip.substr(listed[1].data_offset, two.size()), two);
  EXPECT_EQ(listed[2].name, u"4.jpeg");
  EXPECT_EQ(inflated(zip, listed[2]), two + one);

  // The offset list's item carries what inflating needs; a stored entry's
  // item is its decimal offset alone.
  for (const ArchiveEntry& e : listed) {
    ArchiveEntry back = archive_entry_of_item(archive_offset_item(e));
    EXPECT_EQ(back.data_offset, e.data_offset);
    EXPECT_EQ(back.deflated, e.deflated);
    EXPECT_EQ(back.compressed_size, e.deflated ? e.compressed_size : 0u);
    EXPECT_EQ(back.crc, e.deflated ? e.crc : 0u);
  }
  EXPECT_EQ(archive_offset_item(listed[1]), text::format("%lld", static_cast<long long>(listed[1].data_offset)));
  for (const char16_t* bad : {u"", u"-5", u"x", u"12 9 1 1 1", u"12 8 1"})
    EXPECT_EQ(archive_entry_of_item(bad).data_offset, -1) << text::to_utf8(bad);
}

TEST_F(ArchiveListing, deflated_entry_that_does_not_inflate_to_its_record_is_refused) {
  const std::string page = fixtures::jpeg_bytes(64, 64, {.number = 5});
  const std::string zip = fixtures::zip_bytes({deflated(stored("p.jpg", page))}, false);
  const ArchiveEntry good = list_entries(zip).at(0);
  ASSERT_EQ(inflated(zip, good), page);

  ArchiveEntry wrong_crc = good;
  wrong_crc.crc ^= 1;
  ArchiveEntry cut_stream = good;
  cut_stream.compressed_size -= 10;
  ArchiveEntry longer = good;
  longer.size += 1;
  ArchiveEntry shorter = good;
  shorter.size -= 1;
  ArchiveEntry past_the_end = good;
  past_the_end.compressed_size += 100;
  ArchiveEntry too_big = good;
  too_big.size = kMaxInflatedBytes + 1;
  for (const ArchiveEntry& e : {wrong_crc, cut_stream, longer, shorter, past_the_end, too_big})
    EXPECT_EQ(inflated(zip, e), "(refused)");

  std::string damaged = zip;
  damaged[good.data_offset + 20] = static_cast<char>(damaged[good.data_offset + 20] ^ 0x55);
  EXPECT_EQ(inflated(damaged, good), "(refused)");
}

TEST_F(ArchiveListing, names_holding_a_line_break_are_skipped_but_stepped_over) {
  std::vector<ZipEntry> entries = {
      stored("a.jpg", "first"),       stored("b\r\nc.jpg", "line break"),
      stored("d\n.jpg", "line feed"), deflated(stored("e\r.jpg", "return")),
      stored("f.jpg", "last"),
  };
  std::vector<Listed> listed = list_bytes(fixtures::zip_bytes(entries));
  ASSERT_EQ(listed.size(), 2u);
  EXPECT_EQ(listed[0], (Listed{u"a.jpg", data_offset(entries, 0)}));
  EXPECT_EQ(listed[1].name, u"f.jpg");
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

class ZipTool : public ArchiveListing {
 protected:
  std::vector<std::pair<std::string, std::string>> files = {
      {"b.jpg", fixtures::jpeg_bytes(50, 40, {.number = 1})},
      {"a.JPEG", fixtures::jpeg_bytes(40, 50, {.number = 2})},
      {"inner/c.jpg", fixtures::jpeg_bytes(30, 30, {.number = 3})},
      {"\xe8\xa1\xa8\xe7\xb4\x99.jpg", fixtures::jpeg_bytes(20, 20, {.number = 4})},  // 表紙.jpg in UTF-8
  };
  void SetUp() override {
    fixtures::make_dirs(dir / "src/inner");
    for (const auto& [name, data] : files) fixtures::write_file(dir / "src/" + name, data);
  }
  // Runs zip in the source folder: options and output before the names,
  // a pipe after them; the archive ends up in tool.zip.
  std::string zip(const std::string& options, const std::string& after = "") {
    std::string names;
    for (const auto& f : files) names += " '" + f.first + "'";
    std::string command = "cd '" + dir.path() + "/src' && zip -q " + options + names + " " + after;
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    return fixtures::read_file(dir / "tool.zip");
  }
  // Every file is listed under its name and reads back as its bytes.
  void expect_all_files(const std::string& bytes) {
    std::vector<ArchiveEntry> listed = list_entries(bytes);
    ASSERT_EQ(listed.size(), files.size());
    for (size_t k = 0; k < files.size(); ++k) {
      EXPECT_EQ(listed[k].name, text::from_utf8(files[k].first)) << k;
      std::string data =
          listed[k].deflated ? inflated(bytes, listed[k]) : bytes.substr(listed[k].data_offset, files[k].second.size());
      EXPECT_EQ(data, files[k].second) << k;
    }
  }
};

TEST_F(ZipTool, stored_archive_lists_offsets_of_each_file) {
  // Stored, with the tool's usual extra fields (time stamps, ids).
  std::string bytes = zip("-0 '" + dir.path() + "/tool.zip'");
  expect_all_files(bytes);
  for (const ArchiveEntry& e : list_entries(bytes)) EXPECT_FALSE(e.deflated);
}

TEST_F(ZipTool, deflated_archive_lists_every_file) {
  std::string bytes = zip("-6 '" + dir.path() + "/tool.zip'");
  expect_all_files(bytes);
  int deflated_count = 0;
  for (const ArchiveEntry& e : list_entries(bytes)) deflated_count += e.deflated;
  EXPECT_GT(deflated_count, 0);
}

TEST_F(ZipTool, archive_streamed_to_a_pipe_lists_every_file) {
  // Writing to a pipe, the tool cannot go back to the local headers: their
  // sizes are left to data descriptors.
  std::string bytes = zip("-6 -", "| cat > '" + dir.path() + "/tool.zip'");
  ASSERT_GT(bytes.size(), 8u);
  EXPECT_NE(le32_at(bytes, 6) & 0x8u, 0u) << "the first entry was not streamed";
  expect_all_files(bytes);
}

}  // namespace
}  // namespace zeb
