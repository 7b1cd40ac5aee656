// Turns with the page just left kept and the view made while the page is
// decoded give the state, screen and bitmaps of plain turns (every page
// decoded, then resampled) over a mixed book in a folder and in stored and
// deflated archives, in every zoom mode, turned, mirrored and with the wide
// box; a page changed on disk between two visits is read again; a turn back
// and forth decodes nothing; entering a book decodes its first page once.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app/page_steps.h"
#include "app/sort_pages.h"
#include "app/view_during_decode.h"
#include "core/control_ids.h"
#include "host/text.h"
#include "image/kept_pages.h"
#include "image/read_ahead.h"
#include "sources/sorting.h"
#include "tests/reader.h"
#include "tools/fixtures/fixtures.h"

namespace zeb {
namespace {

namespace fx = fixtures;

constexpr char kNext[] = "tap 470 500";     // lower right edge
constexpr char kPrevious[] = "tap 10 500";  // lower left edge
constexpr char kReload[] = "reload";        // show_page_again, as a sort or a location change ends

// Colour, greyscale, progressive, a file that is no JPEG, a file cut
// short, CMYK, and a page larger than the screen both ways.
std::vector<std::pair<std::string, std::string>> mixed_pages() {
  const std::string whole = fx::jpeg_bytes(240, 180, {.number = 6});
  return {
      {"01.jpg", fx::jpeg_bytes(640, 480, {.number = 1, .scan_like = true})},
      {"02.jpg", fx::jpeg_bytes(500, 700, {.grey = true, .number = 2})},
      {"03.jpg", fx::jpeg_bytes(600, 900, {.progressive = true, .number = 3})},
      {"04.jpg", "this is no JPEG file"},
      {"05.jpg", whole.substr(0, whole.size() / 2)},
      {"06.jpg", fx::jpeg_bytes(96, 128, {.cmyk = true})},
      {"07.jpg", fx::jpeg_bytes(800, 1100, {.number = 7, .scan_like = true})},
  };
}

struct Book {
  fx::TempDir root;
  std::string folder() const { return root / "book"; }
  std::string stored() const { return root / "book.zip"; }
  std::string deflated() const { return root / "deflated.zip"; }

  Book() {
    fx::make_dirs(folder());
    std::vector<fx::ZipEntry> stored_entries, packed;
    for (const auto& [name, bytes] : mixed_pages()) {
      fx::write_file(folder() + "/" + name, bytes);
      stored_entries.push_back({.name = name, .data = bytes});
      packed.push_back({.name = name, .data = bytes, .deflate = true});
    }
    fx::write_file(stored(), fx::zip_bytes(stored_entries));
    fx::write_file(deflated(), fx::zip_bytes(packed));
  }
};

// The settings a view depends on.
struct Look {
  int v_mode;
  const char* size_x;
  int v_left, RSC, ZOOM_MODE, lr_mir, ud_mir, r_top, u_top;
};

const Look kLooks[] = {
    {0, "240", 0, 0, 0, 1, 1, 1, 0}, {0, "240", 1, 0, 0, -1, 1, 2, 2},  {0, "240", 0, 1, 1, 1, -1, 0, 1},
    {1, "480", 0, 0, 0, 1, 1, 1, 0}, {1, "480", 1, 0, 1, -1, -1, 2, 0}, {3, "300", 0, 1, 0, 1, 1, 2, 2},
    {4, "240", 0, 0, 0, 1, 1, 1, 0}, {4, "240", 0, 0, 1, -1, 1, 0, 2},  {4, "240", 0, 1, 1, 1, -1, 1, 1},
    {5, "200", 1, 0, 0, 1, 1, 1, 0}, {6, "700", 0, 0, 1, 1, 1, 1, 0},
};

void apply(Reader& r, const Look& look) {
  ViewerState& s = r.viewer().state;
  s.v_left = look.v_left;
  s.RSC = look.RSC;
  s.ZOOM_MODE = look.ZOOM_MODE;
  s.lr_mir = look.lr_mir;
  s.ud_mir = look.ud_mir;
  s.r_top = look.r_top;
  s.u_top = look.u_top;
  r.run("select 1014 " + std::to_string(look.v_mode));
  r.run(std::string("text 1031 ") + look.size_x);
}

// The host file of page-list entry `index`.
std::string page_file(Reader& r, const std::string& folder, int index) {
  return folder + "/" + text::to_utf8(r.viewer().dialog.item_text(ctl::page_list, index));
}

void run(Reader& r, const std::string& line) {
  if (line == kReload) {
    show_page_again(r.viewer());
    pump(r.viewer());
  } else {
    r.run(line);
  }
}

// Both readers take every line; the fast one lets its read-ahead finish
// first. Every step must leave the two alike.
void expect_same_turns(Reader& fast, Reader& plain, const std::vector<std::string>& lines) {
  for (size_t i = 0; i < lines.size(); ++i) {
    wait_for_read_ahead(fast.viewer().window);
    run(fast, lines[i]);
    run(plain, lines[i]);
    ASSERT_EQ(fast.snapshot(), plain.snapshot()) << "step " << i << ": " << lines[i];
  }
}

const std::vector<std::string> kBackAndForth = {
    "dblclick 1003", kNext,     kPrevious, kNext,     kNext,   kPrevious, kReload,  kNext, kNext,
    kNext,           kPrevious, kPrevious, kNext,     kNext,   kNext,     kNext,    kNext, kNext,
    kPrevious,       kNext,     "tick 3",  kPrevious, kReload, kNext,     kPrevious};

// The ThreadSanitizer build, many times slower, takes only the runs in
// which a second thread (the read-ahead) works beside the kept pages.
#if defined(__SANITIZE_THREAD__)
constexpr bool kOnlyWithReadAhead = true;
#else
constexpr bool kOnlyWithReadAhead = false;
#endif

// Every look in the folder, read-ahead on for every other one; the
// archives in three looks.
TEST(KeptPages, turns_in_every_look_match_plain_turns_over_a_mixed_book) {
  Book book;
  struct Run {
    std::string location;
    const Look& look;
    bool read_ahead;
  };
  std::vector<Run> runs;
  for (size_t i = 0; i < std::size(kLooks); ++i) runs.push_back({book.folder(), kLooks[i], i % 2 == 1});
  for (const std::string& archive : {book.stored(), book.deflated()})
    for (const size_t i : {0, 4, 7}) runs.push_back({archive, kLooks[i], i == 4});
  for (const Run& run : runs) {
    if (kOnlyWithReadAhead && !run.read_ahead) continue;
    const Look& look = run.look;
    SCOPED_TRACE(testing::Message() << run.location << " mode " << look.v_mode << " v_left " << look.v_left << " RSC "
                                    << look.RSC << " wide " << look.ZOOM_MODE << " read-ahead " << run.read_ahead);
    Reader fast(book.root.path(), run.location, run.read_ahead), plain(book.root.path(), run.location, false, true);
    apply(fast, look);
    apply(plain, look);
    expect_same_turns(fast, plain, kBackAndForth);
    const PageLoadCounts kept = page_load_counts(fast.viewer().window);
    const PageLoadCounts decoded = page_load_counts(plain.viewer().window);
    EXPECT_EQ(decoded.kept, 0);
    EXPECT_GE(kept.kept, 6);
    EXPECT_LE(kept.decoded + kept.kept + read_ahead_counts(fast.viewer().window).adopted, decoded.decoded);
  }
}

// A page replaced on disk after it was left is read again on the way back:
// a new file under its name, then the same bytes but one rewritten in place
// (only the times tell). Settings changed between two visits give the kept
// page a view of its own.
TEST(KeptPages, page_replaced_or_settings_changed_between_two_visits_is_made_again) {
  Book book;
  Reader fast(book.root.path(), book.folder(), false), plain(book.root.path(), book.folder(), false, true);
  for (Reader* r : {&fast, &plain}) {
    apply(*r, kLooks[6]);
    r->run("dblclick 1003");
    r->run(kNext);
  }
  const std::string left = page_file(plain, book.folder(), 0);
  const std::vector<std::string> replacements = {fx::jpeg_bytes(150, 110, {.number = 41}),
                                                 fx::jpeg_bytes(150, 110, {.number = 42})};
  for (size_t i = 0; i < replacements.size(); ++i) {
    if (i == 0) {
      fx::write_file(left + ".new", replacements[i]);
      ASSERT_EQ(std::rename((left + ".new").c_str(), left.c_str()), 0);
    } else {
      std::string same = fx::read_file(left);
      fx::write_file(left, same);
    }
    const int decoded = page_load_counts(fast.viewer().window).decoded;
    for (Reader* r : {&fast, &plain}) r->run(kPrevious);
    EXPECT_EQ(fast.snapshot(), plain.snapshot()) << i;
    EXPECT_EQ(page_load_counts(fast.viewer().window).decoded, decoded + 1) << i;
    for (Reader* r : {&fast, &plain}) r->run(kNext);
    EXPECT_EQ(fast.snapshot(), plain.snapshot()) << i;
  }

  const int decoded = page_load_counts(fast.viewer().window).decoded;
  for (Reader* r : {&fast, &plain}) {
    r->viewer().state.ZOOM_MODE = 1;
    r->run("select 1014 1");
    r->run("text 1031 480");
    r->run(kPrevious);
  }
  EXPECT_EQ(fast.snapshot(), plain.snapshot());
  EXPECT_EQ(page_load_counts(fast.viewer().window).decoded, decoded);  // the page bitmap was kept
  EXPECT_EQ(page_load_counts(fast.viewer().window).kept, 3);
}

// Back and forth by one page decodes nothing after the first two pages;
// a location change and a sort leave no page behind.
TEST(KeptPages, back_and_forth_decodes_nothing_and_location_change_or_sort_drops_it) {
  Book book;
  Reader r(book.root.path(), book.folder(), false);
  r.run("dblclick 1003");
  r.run(kNext);
  const int decoded = page_load_counts(r.viewer().window).decoded;
  for (int i = 0; i < 6; ++i) r.run(i % 2 ? kNext : kPrevious);
  EXPECT_EQ(page_load_counts(r.viewer().window).decoded, decoded);
  EXPECT_EQ(page_load_counts(r.viewer().window).kept, 6);
  EXPECT_TRUE(holds_page_behind(r.viewer().window));

  request_sort(r.viewer(), true);
  r.run("tick 1");
  EXPECT_FALSE(holds_page_behind(r.viewer().window));
  r.run(kNext);
  EXPECT_TRUE(holds_page_behind(r.viewer().window));
  r.run("select 1001 0");  // up to the root
  EXPECT_FALSE(holds_page_behind(r.viewer().window));
}

// From the folder that holds them, entering a folder, a stored and a
// deflated archive decodes (and reads, and inflates) the first page once.
TEST(KeptPages, entering_a_book_decodes_its_first_page_once) {
  Book book;
  Reader fast(book.root.path(), book.root.path(), false), plain(book.root.path(), book.root.path(), false, true);
  const platform::Dialog& d = fast.viewer().dialog;
  for (const std::u16string name : {u"book", u"book.zip", u"deflated.zip"}) {
    int entry = -1;
    for (int i = 0; i < d.item_count(ctl::folder_list); ++i)
      if (d.item_text(ctl::folder_list, i) == name) entry = i;
    ASSERT_GE(entry, 0);
    const int fast_before = page_load_counts(fast.viewer().window).decoded;
    const int plain_before = page_load_counts(plain.viewer().window).decoded;
    for (Reader* r : {&fast, &plain}) r->run("select 1001 " + std::to_string(entry));
    EXPECT_EQ(fast.snapshot(), plain.snapshot());
    EXPECT_EQ(page_load_counts(fast.viewer().window).decoded - fast_before, 1);
    EXPECT_EQ(page_load_counts(plain.viewer().window).decoded - plain_before, 2);
    for (Reader* r : {&fast, &plain}) r->run("select 1001 0");  // back to the folder
  }
}

// The bound: a page whose bitmaps pass it is freed, not kept.
TEST(KeptPages, page_larger_than_the_bound_is_not_kept) {
  for (const int height : {4000, 4700}) {
    MainWindow w;
    w.page_bitmap = platform::Bitmap::create(4760, height);  // 4760 x 4700 x 3 passes 64 MiB
    ASSERT_TRUE(w.page_bitmap);
    PageKey key;
    key.location = u"\\big.jpg";
    key.name = u"big.jpg";
    note_shown_page(w, key, platform::FileIdentity{1, 2, 3, 4, 5});
    set_shown_page_aside(w, true);
    settle_kept_pages(w);
    EXPECT_FALSE(w.page_bitmap);
    EXPECT_EQ(holds_page_behind(w), height == 4000) << height;
  }
}

// The view's helper thread beside a decoder that hands over its rows all at
// once (both threads then claim lines at the same time) gives the view the
// decoding thread makes alone; a page abandoned part way stops the helper
// before the page bitmap goes.
TEST(KeptPages, view_shared_with_the_helper_is_the_view_made_alone_and_stops_with_the_page) {
  MainWindow shared_window, alone_window;
  ViewHelper* helper = view_helper(shared_window);
  if (!helper) GTEST_SKIP() << "one processor: no helper";
  constexpr int W = 1200, H = 1600;
  auto page = platform::Bitmap::create(W, H);
  ASSERT_TRUE(page);
  for (int y = 0; y < H; ++y)
    for (int i = 0; i < 3 * W; ++i) page->picture_row(y)[i] = static_cast<std::uint8_t>((y * 31 + i * 7) ^ (i >> 3));
  const ViewSettings settings{.v_mode = 1, .Text1 = 480, .Text2 = 640};
  for (const bool at_once : {true, false}) {
    // Rows written one at a time into a bitmap that held nothing: a line
    // averaged before its rows were final would read zeros.
    auto decoding = platform::Bitmap::create(W, H);
    ViewDuringDecode shared(settings, helper), alone(settings, nullptr);
    shared.page_started(*decoding, W, H);
    alone.page_started(*page, W, H);
    for (int y = 0; y < H; ++y) {
      std::memcpy(decoding->picture_row(y), page->picture_row(y), static_cast<size_t>(3) * W);
      if (!at_once) shared.rows_final(y + 1);
    }
    if (at_once) shared.rows_final(H);
    alone.rows_final(H);
    shared.hand_over(shared_window, *decoding);
    alone.hand_over(alone_window, *page);
    ASSERT_TRUE(shared_window.made_view && alone_window.made_view);
    const platform::Bitmap& a = *shared_window.made_view;
    ASSERT_EQ(std::memcmp(a.bits(), alone_window.made_view->bits(), static_cast<size_t>(a.stride()) * a.height()), 0)
        << "rows at once " << at_once;
  }
  auto abandoned = platform::Bitmap::create(W, H);
  ViewDuringDecode view(settings, helper);
  view.page_started(*abandoned, W, H);
  view.rows_final(H / 2);
  view.page_abandoned();
  abandoned.reset();  // a helper still reading would read freed memory
}

}  // namespace
}  // namespace zeb
