// Read-ahead: every turn gives the same state, screen and bitmaps with it as
// without it, over a book of mixed pages in a folder and in an archive;
// pages changed on disk after they were read ahead are read again; location
// changes drop the work; a cancelled decode stops part-way.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "app/messages.h"
#include "app/open_target.h"
#include "app/startup.h"
#include "core/control_ids.h"
#include "frontend/script/commands.h"
#include "frontend/script/script_host.h"
#include "frontend/script/state_json.h"
#include "host/files.h"
#include "host/text.h"
#include "image/page_loader.h"
#include "image/read_ahead.h"
#include "tests/reader.h"
#include "tools/fixtures/fixtures.h"

namespace zeb {
namespace {

namespace fx = fixtures;

constexpr char kNext[] = "tap 470 500";     // lower right edge
constexpr char kPrevious[] = "tap 10 500";  // lower left edge

// Pages of every kind the loader meets: colour, greyscale, progressive, a
// file that is no JPEG, CMYK, a file cut short, a larger page.
struct Page {
  std::string name, bytes;
  bool decodes;
};

std::vector<Page> mixed_pages() {
  const std::string whole = fx::jpeg_bytes(240, 180, {.number = 6});
  return {
      {"01.jpg", fx::jpeg_bytes(320, 240, {.number = 1}), true},
      {"02.jpg", fx::jpeg_bytes(200, 300, {.grey = true, .number = 2}), true},
      {"03.jpg", fx::jpeg_bytes(300, 400, {.progressive = true, .number = 3}), true},
      {"04.jpg", "this is no JPEG file", false},
      {"05.jpg", fx::jpeg_bytes(96, 128, {.cmyk = true}), true},
      {"06.jpg", whole.substr(0, whole.size() / 2), true},
      {"07.jpg", fx::jpeg_bytes(640, 960, {.number = 7, .scan_like = true}), true},
  };
}

struct Library {
  fx::TempDir root;
  std::vector<Page> pages = mixed_pages();
  std::string folder() const { return root / "book"; }
  std::string archive() const { return root / "book.zip"; }
  std::string deflated() const { return root / "deflated.zip"; }

  Library() {
    fx::make_dirs(folder());
    std::vector<fx::ZipEntry> stored, packed;
    for (const Page& p : pages) {
      fx::write_file(folder() + "/" + p.name, p.bytes);
      stored.push_back({.name = p.name, .data = p.bytes});
      packed.push_back({.name = p.name, .data = p.bytes, .deflate = true});
    }
    fx::write_file(archive(), fx::zip_bytes(stored));
    fx::write_file(deflated(), fx::zip_bytes(packed));
  }
};

// Both readers take every line; the one with read-ahead first lets its
// worker finish. A turn in the direction of the turn before it then takes
// the page read ahead, unless the page does not decode at all; every other
// turn decodes as it always did.
void expect_same_turns(Reader& ahead, Reader& plain, const std::vector<std::string>& lines) {
  ahead.run("dblclick 1003");
  plain.run("dblclick 1003");
  ASSERT_EQ(ahead.snapshot(), plain.snapshot());
  int direction = 1, expected_adoptions = 0;
  for (size_t i = 0; i < lines.size(); ++i) {
    wait_for_read_ahead(ahead.viewer().window);
    const int adopted = read_ahead_counts(ahead.viewer().window).adopted;
    ahead.run(lines[i]);
    plain.run(lines[i]);
    EXPECT_EQ(ahead.snapshot(), plain.snapshot()) << "step " << i << ": " << lines[i];
    const int turn = lines[i] == kNext ? 1 : lines[i] == kPrevious ? -1 : 0;
    const bool adopts = turn == direction && plain.viewer().window.page_bitmap;
    expected_adoptions += adopts;
    EXPECT_EQ(read_ahead_counts(ahead.viewer().window).adopted - adopted, adopts ? 1 : 0) << "step " << i;
    if (turn) direction = turn;
  }
  EXPECT_GE(expected_adoptions, 6);
  EXPECT_EQ(read_ahead_counts(plain.viewer().window).started, 0);
}

// Forward round the book and past its end, back across its start, forward
// again, and a few ticks.
const std::vector<std::string> kRoundTrip = {kNext, kNext,     kNext,     kNext,     kNext, kNext, kNext,
                                             kNext, kPrevious, kPrevious, kPrevious, kNext, kNext, "tick 3"};

TEST(ReadAhead, turns_in_a_folder_match_turns_without_read_ahead) {
  Library lib;
  Reader ahead(lib.root.path(), lib.folder(), true), plain(lib.root.path(), lib.folder(), false);
  expect_same_turns(ahead, plain, kRoundTrip);
}

TEST(ReadAhead, turns_in_a_stored_archive_match_turns_without_read_ahead) {
  Library lib;
  Reader ahead(lib.root.path(), lib.archive(), true), plain(lib.root.path(), lib.archive(), false);
  expect_same_turns(ahead, plain, kRoundTrip);
}

TEST(ReadAhead, turns_in_a_deflated_archive_match_turns_without_read_ahead) {
  Library lib;
  Reader ahead(lib.root.path(), lib.deflated(), true), plain(lib.root.path(), lib.deflated(), false);
  expect_same_turns(ahead, plain, kRoundTrip);
}

// A folder of pages that all decode.
std::string sound_book(const fx::TempDir& root, int pages) {
  const std::string folder = root / "sound";
  fx::make_dirs(folder);
  for (int i = 1; i <= pages; ++i)
    fx::write_jpeg(folder + "/s" + std::to_string(i) + ".jpg", 80 + 8 * i, 60, {.number = i});
  return folder;
}

// The page the next forward turn loads, as a host path.
std::string next_page_file(Reader& r, const std::string& folder) {
  const Viewer& v = r.viewer();
  const int next = (v.state.page_index + 1) % v.dialog.item_count(ctl::page_list);
  return folder + "/" + text::to_utf8(v.dialog.item_text(ctl::page_list, next));
}

// Each change hits the page read ahead, after it was read; the turn to it
// reads the file again.
TEST(ReadAhead, page_changed_on_disk_after_it_was_read_ahead_is_read_again) {
  fx::TempDir root;
  const std::string folder = sound_book(root, 6);
  Reader ahead(root.path(), folder, true), plain(root.path(), folder, false);
  const std::vector<std::function<void(const std::string&)>> changes = {
      // Replaced by another file under the same name (a new inode).
      [](const std::string& page) {
        fx::write_file(page + ".new", fx::jpeg_bytes(120, 90, {.number = 22}));
        ASSERT_EQ(std::rename((page + ".new").c_str(), page.c_str()), 0);
      },
      // Rewritten in place: the same inode, another size.
      [](const std::string& page) { fx::write_file(page, fx::jpeg_bytes(150, 100, {.grey = true})); },
      // Cut short in place.
      [](const std::string& page) {
        const std::string bytes = fx::read_file(page);
        fx::write_file(page, bytes.substr(0, bytes.size() / 2));
      },
      // Deleted: no page.
      [](const std::string& page) { std::remove(page.c_str()); },
  };
  ahead.run("dblclick 1003");
  plain.run("dblclick 1003");
  for (size_t i = 0; i < changes.size(); ++i) {
    wait_for_read_ahead(ahead.viewer().window);
    ASSERT_TRUE(read_ahead_holds_page(ahead.viewer().window)) << "change " << i;
    changes[i](next_page_file(ahead, folder));
    ahead.run(kNext);
    plain.run(kNext);
    EXPECT_EQ(ahead.snapshot(), plain.snapshot()) << "change " << i;
  }
  EXPECT_EQ(read_ahead_counts(ahead.viewer().window).adopted, 0);
}

TEST(ReadAhead, location_change_and_leaving_the_page_view_drop_the_work) {
  fx::TempDir root;
  const std::string folder = sound_book(root, 3);
  Reader ahead(root.path(), folder, true), plain(root.path(), folder, false);
  for (Reader* r : {&ahead, &plain}) {
    r->run("dblclick 1003");
    r->run("select 1001 0");  // up to the root: another location, at once
  }
  wait_for_read_ahead(ahead.viewer().window);
  EXPECT_FALSE(read_ahead_holds_page(ahead.viewer().window));
  EXPECT_EQ(ahead.snapshot(), plain.snapshot());

  Reader again(root.path(), folder, true);
  again.run("dblclick 1003");
  wait_for_read_ahead(again.viewer().window);
  EXPECT_TRUE(read_ahead_holds_page(again.viewer().window));
  again.run("cancel");  // back to the browser
  EXPECT_FALSE(read_ahead_holds_page(again.viewer().window));
  EXPECT_EQ(again.viewer().state.viewing, 0);
}

TEST(ReadAhead, random_order_reads_nothing_ahead) {
  Library lib;
  Reader ahead(lib.root.path(), lib.folder(), true);
  ahead.run("click 1035");  // random order
  ahead.run("dblclick 1003");
  ahead.run(kNext);
  EXPECT_EQ(read_ahead_counts(ahead.viewer().window).started, 0);
}

// A file that sets a cancel flag once the decoder has read `cancel_at`
// bytes of it, as a cancel from the user-interface thread would arrive.
struct CancellingFile {
  std::string bytes;
  size_t at = 0, cancel_at = 0;
  std::atomic<bool>* flag = nullptr;

  static ssize_t read(void* cookie, char* buf, size_t size) {
    auto& f = *static_cast<CancellingFile*>(cookie);
    if (f.at >= f.cancel_at) f.flag->store(true);
    const size_t n = std::min(size, f.bytes.size() - f.at);
    f.bytes.copy(buf, n, f.at);
    f.at += n;
    return static_cast<ssize_t>(n);
  }
};

DecodedPage decode_cancelled_after(const std::string& bytes, size_t cancel_at) {
  std::atomic<bool> flag{false};
  CancellingFile state{bytes, 0, cancel_at, &flag};
  cookie_io_functions_t io{CancellingFile::read, nullptr, nullptr, nullptr};
  std::FILE* file = fopencookie(&state, "rb", io);
  DecodedPage page = decode_jpeg(file, false, DecodeLimits{&flag});
  std::fclose(file);
  return page;
}

TEST(ReadAhead, cancelled_decode_stops_part_way) {
  for (const bool progressive : {false, true}) {
    const std::string bytes = fx::jpeg_bytes(800, 1000, {.progressive = progressive, .scan_like = true});
    ASSERT_GT(bytes.size(), 3 * 4096u);
    EXPECT_TRUE(decode_cancelled_after(bytes, bytes.size() + 1).bitmap);
    EXPECT_FALSE(decode_cancelled_after(bytes, 4096).bitmap) << "progressive " << progressive;
    EXPECT_FALSE(decode_cancelled_after(bytes, 0).bitmap);
  }
}

TEST(ReadAhead, bitmap_bound_refuses_larger_pages) {
  const std::string bytes = fx::jpeg_bytes(100, 80);
  const long long bitmap_bytes = platform::dib_stride(100) * 80LL;
  for (const long long bound : {bitmap_bytes, bitmap_bytes - 1}) {
    std::FILE* file = std::tmpfile();
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::rewind(file);
    const DecodedPage page = decode_jpeg(file, false, DecodeLimits{nullptr, bound});
    std::fclose(file);
    EXPECT_EQ(page.bitmap != nullptr, bound == bitmap_bytes);
  }
}

}  // namespace
}  // namespace zeb
