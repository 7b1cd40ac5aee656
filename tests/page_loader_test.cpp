// Page loading: bitmap layout, previews, archive entries, damaged files and
// the bookkeeping a load does (history, wait time, refusal).
#include <gtest/gtest.h>
#include <jpeglib.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "app/controls.h"
#include "app/load_page.h"
#include "core/control_ids.h"
#include "host/files.h"
#include "host/text.h"
#include "image/page_loader.h"
#include "tests/harness.h"
#include "tools/fixtures/fixtures.h"

namespace zeb {
namespace {

namespace fx = fixtures;

// The same file decoded by libjpeg on its own, top-down, RGB or grey.
struct Reference {
  int width = 0, height = 0, components = 0;
  std::vector<std::uint8_t> samples;
  const std::uint8_t* at(int x, int y) const {
    return samples.data() + (static_cast<size_t>(y) * width + x) * components;
  }
};

Reference reference_decode(const std::string& bytes) {
  jpeg_decompress_struct cinfo;
  jpeg_error_mgr jerr;
  cinfo.err = jpeg_std_error(&jerr);
  jpeg_create_decompress(&cinfo);
  jpeg_mem_src(&cinfo, reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
  jpeg_read_header(&cinfo, TRUE);
  if (cinfo.jpeg_color_space != JCS_GRAYSCALE) cinfo.out_color_space = JCS_RGB;
  jpeg_start_decompress(&cinfo);
  Reference r{static_cast<int>(cinfo.output_width), static_cast<int>(cinfo.output_height),
              cinfo.output_components, {}};
  r.samples.resize(static_cast<size_t>(r.width) * r.height * r.components);
  while (cinfo.output_scanline < cinfo.output_height) {
    JSAMPROW row = r.samples.data() + static_cast<size_t>(cinfo.output_scanline) * r.width * r.components;
    jpeg_read_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_decompress(&cinfo);
  jpeg_destroy_decompress(&cinfo);
  return r;
}

// A viewer over a temporary storage root, in the page view unless a test
// says otherwise.
class PageLoader : public ::testing::Test {
 protected:
  PageLoader() {
    p.storage = platform::Storage(dir.path());
    v = std::make_unique<Viewer>(p);
    create_controls(*v);
    v->state.viewing = 1;
    v->state.LastDir = u"\\";
  }

  // Writes a page file into the root, lists it and returns its location.
  std::u16string add_page(const std::string& name, const std::string& bytes) {
    EXPECT_TRUE(fx::write_file(dir / name, bytes));
    v->dialog.insert_item(ctl::page_list, -1, text::from_utf8(name));
    return u"\\" + text::from_utf8(name);
  }

  const platform::Bitmap* page() const { return v->window.page_bitmap.get(); }

  fx::TempDir dir;
  platform::Platform p;
  std::unique_ptr<Viewer> v;
};

TEST_F(PageLoader, greyscale_page_is_rounded_up_and_expanded_to_grey_pixels) {
  fx::JpegOptions grey;
  grey.grey = true;
  const std::string bytes = fx::jpeg_bytes(100, 50, grey);
  ASSERT_EQ(load_page(*v, add_page("grey.jpg", bytes)), 0);
  ASSERT_NE(page(), nullptr);
  EXPECT_EQ(page()->width(), 104);
  EXPECT_EQ(page()->height(), 56);
  EXPECT_EQ(page()->stride(), 312);
  EXPECT_EQ(v->window.page_width, 100);
  EXPECT_EQ(v->window.page_height, 50);

  const Reference ref = reference_decode(bytes);
  for (int y = 0; y < 56; ++y) {
    const std::uint8_t* row = page()->picture_row(y);
    for (int x = 0; x < 104; ++x) {
      const int expected = (x < 100 && y < 50) ? ref.at(x, y)[0] : 0;  // margin stays black
      ASSERT_EQ(row[3 * x], expected) << x << "," << y;
      ASSERT_EQ(row[3 * x + 1], expected) << x << "," << y;
      ASSERT_EQ(row[3 * x + 2], expected) << x << "," << y;
    }
  }
}

TEST_F(PageLoader, colour_page_is_blue_green_red_bottom_up_with_padded_rows) {
  const std::string bytes = fx::jpeg_bytes(101, 40);
  ASSERT_EQ(load_page(*v, add_page("odd.jpg", bytes)), 0);
  ASSERT_NE(page(), nullptr);
  EXPECT_EQ(page()->width(), 101);
  EXPECT_EQ(page()->height(), 40);
  EXPECT_EQ(page()->stride(), 304);

  const Reference ref = reference_decode(bytes);
  for (int y = 0; y < 40; ++y) {
    const std::uint8_t* row = page()->memory_row(39 - y);
    for (int x = 0; x < 101; ++x) {
      const std::uint8_t* rgb = ref.at(x, y);
      ASSERT_EQ(row[3 * x], rgb[2]) << x << "," << y;
      ASSERT_EQ(row[3 * x + 1], rgb[1]) << x << "," << y;
      ASSERT_EQ(row[3 * x + 2], rgb[0]) << x << "," << y;
    }
  }
}

TEST_F(PageLoader, preview_outside_the_page_view_is_one_eighth) {
  const std::u16string page_path = add_page("big.jpg", fx::jpeg_bytes(1600, 1200));
  v->state.viewing = 0;
  ASSERT_EQ(load_page(*v, page_path), 0);
  EXPECT_EQ(v->window.page_width, 200);
  EXPECT_EQ(v->window.page_height, 150);

  v->state.settings_open = 1;  // the settings panel shows the page at full size
  ASSERT_EQ(load_page(*v, page_path), 0);
  EXPECT_EQ(v->window.page_width, 1600);
  EXPECT_EQ(v->window.page_height, 1200);
}

// Two decodes of one page give the same bitmap, byte for byte.
void expect_same_bitmap(const DecodedPage& a, const DecodedPage& b) {
  ASSERT_NE(a.bitmap, nullptr);
  ASSERT_NE(b.bitmap, nullptr);
  ASSERT_EQ(a.width, b.width);
  ASSERT_EQ(a.height, b.height);
  ASSERT_EQ(a.bitmap->stride(), b.bitmap->stride());
  for (int y = 0; y < a.bitmap->height(); ++y)
    ASSERT_EQ(std::memcmp(a.bitmap->memory_row(y), b.bitmap->memory_row(y), a.bitmap->stride()), 0) << y;
}

TEST_F(PageLoader, page_held_in_memory_decodes_as_its_file_does) {
  const std::string pages[] = {fx::jpeg_bytes(300, 200, {.number = 3}), fx::jpeg_bytes(100, 60, {.grey = true}),
                               fx::jpeg_bytes(64, 48, {.cmyk = true}), fx::jpeg_bytes(90, 70, {.progressive = true})};
  for (const std::string& bytes : pages) {
    ASSERT_TRUE(fx::write_file(dir / "p.jpg", bytes));
    for (bool preview : {false, true}) {
      platform::FilePtr file = platform::open_host_file(dir / "p.jpg", "rb");
      const DecodedPage from_file = decode_jpeg(file.get(), preview);
      const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
      expect_same_bitmap(from_file, decode_jpeg(data, bytes.size(), preview));
    }
  }
  // Nothing, or bytes that are no page, give no bitmap.
  EXPECT_EQ(decode_jpeg(nullptr, 0, false).bitmap, nullptr);
  const std::string junk = "not a JPEG";
  EXPECT_EQ(decode_jpeg(reinterpret_cast<const unsigned char*>(junk.data()), junk.size(), false).bitmap, nullptr);
  const std::string cut = pages[0].substr(0, 100);
  EXPECT_EQ(decode_jpeg(reinterpret_cast<const unsigned char*>(cut.data()), cut.size(), true).bitmap, nullptr);
}

// A decode handed a spare bitmap of the page bitmap's size fills it and
// gives the bitmap a fresh decode gives, whatever the spare held: the grey
// page's rounded rows and columns and every row's padding read as zero
// again. A spare of another size is left to its owner.
TEST_F(PageLoader, spare_bitmap_of_the_size_decodes_as_a_new_one) {
  struct Case {
    std::string earlier, page;
    bool taken;
  };
  const Case cases[] = {
      {fx::jpeg_bytes(504, 704, {.number = 1, .scan_like = true}), fx::jpeg_bytes(500, 700, {.grey = true}), true},
      {fx::jpeg_bytes(301, 203, {.number = 2}), fx::jpeg_bytes(301, 203, {.progressive = true, .number = 3}), true},
      {fx::jpeg_bytes(301, 203, {.number = 2}), fx::jpeg_bytes(302, 203, {.number = 4}), false},
  };
  for (const Case& c : cases) {
    const auto decode = [](const std::string& bytes, std::unique_ptr<platform::Bitmap>* spare) {
      DecodeLimits limits;
      limits.spare = spare;
      return decode_jpeg(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), false, limits);
    };
    std::unique_ptr<platform::Bitmap> spare = decode(c.earlier, nullptr).bitmap;
    ASSERT_NE(spare, nullptr);
    const platform::Bitmap* held = spare.get();
    const DecodedPage page = decode(c.page, &spare);
    expect_same_bitmap(page, decode(c.page, nullptr));
    EXPECT_EQ(page.bitmap.get() == held, c.taken);
    EXPECT_EQ(spare.get() == held, !c.taken);
  }
}

TEST_F(PageLoader, archive_entry_is_decoded_from_its_listed_offset) {
  const std::string stamp("UT\x05\x00\x01\x00\x00\x00\x00", 9);  // an extended time stamp
  fx::ZipEntry first{"a.jpg", fx::jpeg_bytes(40, 30), false, stamp, false, false};
  fx::ZipEntry second{"b.jpg", fx::jpeg_bytes(64, 48), false, "", false, false};
  ASSERT_TRUE(fx::write_file(dir / "book.zip", fx::zip_bytes({first, second})));
  const int second_offset = 30 + 5 + 9 + static_cast<int>(first.data.size()) + 30 + 5;
  v->state.archive_mode = 1;
  v->state.LastDir = u"\\book.zip";
  for (const char16_t* name : {u"a.jpg", u"b.jpg"}) v->dialog.insert_item(ctl::page_list, -1, name);
  v->dialog.insert_item(ctl::archive_offsets, -1, u"44");
  v->dialog.insert_item(ctl::archive_offsets, -1, text::from_int(second_offset));

  v->state.page_index = 1;
  ASSERT_EQ(load_page(*v, u"ignored"), 0);
  EXPECT_EQ(v->window.page_width, 64);
  EXPECT_EQ(v->state.LastFName, u"b.jpg");
  v->state.page_index = 0;
  ASSERT_EQ(load_page(*v, u"ignored"), 0);
  EXPECT_EQ(v->window.page_width, 40);

  // An offset that does not point at the entry's data gives no page, but
  // the load has run.
  v->dialog.delete_item(ctl::archive_offsets, 0);
  v->dialog.insert_item(ctl::archive_offsets, 0, u"45");
  EXPECT_EQ(load_page(*v, u"ignored"), 0);
  EXPECT_EQ(page(), nullptr);
}

TEST_F(PageLoader, archive_entry_beyond_two_gibibytes_is_reached) {
  const long long offset = 3LL << 30;  // a sparse hole before the entry's data
  {
    platform::FilePtr out = platform::open_host_file(dir / "huge.zip", "wb");
    ASSERT_TRUE(out);
    ASSERT_EQ(fseeko(out.get(), static_cast<off_t>(offset), SEEK_SET), 0);
    const std::string page_bytes = fx::jpeg_bytes(24, 8);
    ASSERT_EQ(std::fwrite(page_bytes.data(), 1, page_bytes.size(), out.get()), page_bytes.size());
  }
  v->state.archive_mode = 1;
  v->state.LastDir = u"\\huge.zip";
  v->dialog.insert_item(ctl::page_list, -1, u"far.jpg");
  v->dialog.insert_item(ctl::archive_offsets, -1, text::from_int(offset));
  ASSERT_EQ(load_page(*v, u""), 0);
  EXPECT_EQ(v->window.page_width, 24);
  EXPECT_EQ(v->window.page_height, 8);
}

TEST_F(PageLoader, archive_load_fails_without_pages_or_file) {
  add_page("shown.jpg", fx::jpeg_bytes(16, 16));
  ASSERT_EQ(load_page(*v, u"\\shown.jpg"), 0);
  v->state.archive_mode = 1;
  v->state.LastDir = u"\\missing.zip";
  v->dialog.insert_item(ctl::archive_offsets, -1, u"0");
  EXPECT_EQ(load_page(*v, u"\\shown.jpg"), -1);
  EXPECT_EQ(page(), nullptr);

  v->dialog.clear_items(ctl::page_list);
  EXPECT_EQ(load_page(*v, u"\\shown.jpg"), -1);
}

TEST_F(PageLoader, damaged_files_abandon_the_page_and_later_loads_work) {
  const std::string good = fx::jpeg_bytes(64, 48);
  const std::string other = fx::jpeg_bytes(32, 32, {.seed = 7});
  std::string huge = good;
  const size_t frame = huge.find("\xFF\xC0");
  ASSERT_NE(frame, std::string::npos);
  huge.replace(frame + 5, 4, "\xFD\xE8\xFD\xE8");  // 65000 x 65000 pixels
  const std::string cases[] = {
      "this is not a JPEG file at all",
      huge,
      good.substr(0, 120),                               // ends inside the header
      good.substr(0, good.size() - 2) + other.substr(2),  // a second frame after the first
  };
  const std::u16string good_path = add_page("good.jpg", good);
  for (const std::string& bytes : cases) {
    ASSERT_EQ(load_page(*v, good_path), 0);
    ASSERT_NE(page(), nullptr);
    const std::u16string bad_path = add_page("bad.jpg", bytes);
    EXPECT_EQ(load_page(*v, bad_path), 0);
    EXPECT_EQ(page(), nullptr);
    EXPECT_EQ(v->window.page_width, 0);
  }
  v->state.viewing = 0;  // nor is the oversized page previewed
  EXPECT_EQ(load_page(*v, add_page("huge.jpg", huge)), 0);
  EXPECT_EQ(page(), nullptr);
}

TEST_F(PageLoader, file_cut_short_inside_the_picture_still_shows_the_page) {
  const std::string good = fx::jpeg_bytes(200, 160);
  ASSERT_EQ(load_page(*v, add_page("short.jpg", good.substr(0, good.size() / 2))), 0);
  ASSERT_NE(page(), nullptr);
  EXPECT_EQ(v->window.page_width, 200);
  EXPECT_EQ(v->window.page_height, 160);
}

TEST_F(PageLoader, cmyk_page_gets_the_colours_of_its_rgb_twin) {
  fx::JpegOptions options{.quality = 95, .number = 7};
  const std::string rgb = fx::jpeg_bytes(96, 128, options);
  options.cmyk = true;
  ASSERT_EQ(load_page(*v, add_page("cmyk.jpg", fx::jpeg_bytes(96, 128, options))), 0);
  ASSERT_NE(page(), nullptr);
  ASSERT_EQ(page()->stride(), 96 * 3);

  const Reference ref = reference_decode(rgb);
  long long difference = 0;
  for (int y = 0; y < 128; ++y) {
    const std::uint8_t* row = page()->picture_row(y);
    for (int x = 0; x < 96; ++x) {
      for (int c = 0; c < 3; ++c) difference += std::abs(row[3 * x + c] - ref.at(x, y)[2 - c]);
    }
  }
  EXPECT_LT(difference / (96 * 128 * 3), 6);  // compression noise only
}

TEST_F(PageLoader, start_position_follows_the_start_corner_and_mirroring) {
  const std::u16string wide = add_page("wide.jpg", fx::jpeg_bytes(1000, 1400));  // 520 x 760 beyond the screen
  const std::u16string narrow = add_page("narrow.jpg", fx::jpeg_bytes(300, 400));
  struct Case {
    int r_top, lr_mir, u_top, ud_mir;
    std::u16string page;
    int scroll_x, scroll_y;
  };
  const Case cases[] = {
      {1, 1, 0, 1, wide, 520, 0},     // right edge, top
      {1, -1, 0, 1, wide, 0, 0},      // mirrored: the far edge is the left one
      {2, 1, 2, 1, wide, 260, 380},   // centred both ways
      {2, -1, 2, -1, wide, 0, 0},     // mirroring turns the centred start into 0
      {0, -1, 1, -1, wide, 520, 0},
      {1, 1, 1, 1, narrow, 0, 0},     // a page inside the screen never scrolls
  };
  for (const Case& c : cases) {
    v->state.r_top = c.r_top;
    v->state.lr_mir = c.lr_mir;
    v->state.u_top = c.u_top;
    v->state.ud_mir = c.ud_mir;
    ASSERT_EQ(load_page(*v, c.page), 0);
    EXPECT_EQ(v->state.scroll_x, c.scroll_x) << c.r_top << " " << c.lr_mir;
    EXPECT_EQ(v->state.scroll_y, c.scroll_y) << c.u_top << " " << c.ud_mir;
    EXPECT_EQ(v->state.center_x_pending, 0);
    EXPECT_EQ(v->state.center_y_pending, 0);
  }
}

TEST_F(PageLoader, blocked_load_changes_nothing) {
  add_page("a.jpg", fx::jpeg_bytes(16, 16));
  ASSERT_EQ(load_page(*v, u"\\a.jpg"), 0);
  v->state.folder_scan = 1;
  v->state.LastFName = u"before.jpg";
  v->dialog.set_text(ctl::wait_field, u"99");
  const int history = v->dialog.item_count(ctl::folder_history);

  EXPECT_EQ(load_page(*v, u"\\a.jpg"), -1);
  EXPECT_NE(page(), nullptr);
  EXPECT_EQ(v->state.LastFName, u"before.jpg");
  EXPECT_NE(v->state.SlideShow, 99);
  EXPECT_EQ(v->dialog.item_count(ctl::folder_history), history);
}

TEST_F(PageLoader, missing_file_fails_after_freeing_and_reading_the_wait) {
  add_page("a.jpg", fx::jpeg_bytes(16, 16));
  ASSERT_EQ(load_page(*v, u"\\a.jpg"), 0);
  v->dialog.set_text(ctl::wait_field, u"35");
  EXPECT_EQ(load_page(*v, u"\\gone.jpg"), -1);
  EXPECT_EQ(page(), nullptr);
  EXPECT_EQ(v->state.SlideShow, 35);

  v->dialog.set_text(ctl::wait_field, u"");
  EXPECT_EQ(load_page(*v, u"\\..\\a.jpg"), -1);  // cannot be mapped below the root
  EXPECT_EQ(v->state.SlideShow, 0);
}

TEST_F(PageLoader, page_view_load_puts_the_current_pair_first_in_the_history) {
  for (const char16_t* item : {u"\\", u"old.jpg", u"\\other", u"x.jpg"})
    v->dialog.insert_item(ctl::folder_history, -1, item);
  add_page("first.jpg", fx::jpeg_bytes(16, 16));
  add_page("second.jpg", fx::jpeg_bytes(16, 16));
  v->state.page_index = 1;
  ASSERT_EQ(load_page(*v, u"\\second.jpg"), 0);
  const std::vector<std::u16string> expected = {u"\\", u"second.jpg", u"\\other", u"x.jpg"};
  EXPECT_EQ(v->dialog.find(ctl::folder_history)->items, expected);

  // Another panel leaves the history alone.
  v->state.panel_mode = 1;
  v->state.page_index = 0;
  ASSERT_EQ(load_page(*v, u"\\first.jpg"), 0);
  EXPECT_EQ(v->state.LastFName, u"first.jpg");
  EXPECT_EQ(v->dialog.find(ctl::folder_history)->items, expected);

  // Without a page name the folder's pair is dropped and nothing is added.
  v->state.panel_mode = 0;
  v->state.page_index = 5;
  load_page(*v, u"\\first.jpg");
  const std::vector<std::u16string> dropped = {u"\\other", u"x.jpg"};
  EXPECT_EQ(v->dialog.find(ctl::folder_history)->items, dropped);
}

// The whole viewer, headless: a folder holding one page is opened at start
// (the browser's preview), then shown in the page view with OK.
struct ViewedPage {
  testing::ScriptRun run;
  nlohmann::json preview, page;
};

ViewedPage view_single_page(const std::string& bytes) {
  fx::TempDir root, settings;
  EXPECT_TRUE(fx::make_dirs(root / "book"));
  EXPECT_TRUE(fx::write_file(root / "book/page.jpg", bytes));
  ViewedPage result;
  result.run = testing::run_script(root.path(), settings.path(), "state\nok\nstate\n", {root / "book"});
  const std::vector<nlohmann::json> states = result.run.states();
  EXPECT_EQ(states.size(), 2u) << result.run.err;
  if (states.size() == 2) {
    result.preview = states[0];
    result.page = states[1];
  }
  return result;
}

TEST(PageLoaderScript, pages_decode_in_browser_and_page_view_and_bad_ones_are_survived) {
  const ViewedPage grey = view_single_page(fx::jpeg_bytes(100, 50, {.grey = true}));
  EXPECT_EQ(grey.run.status, 0);
  EXPECT_EQ(grey.preview["page_width"], 13);  // one eighth, rounded up
  EXPECT_EQ(grey.page["viewing"], 1);
  EXPECT_EQ(grey.page["page_bitmap"], (nlohmann::json{{"width", 104}, {"height", 56}, {"stride", 312}}));
  EXPECT_EQ(grey.page["page_width"], 100);

  const ViewedPage cmyk = view_single_page(fx::jpeg_bytes(64, 80, {.cmyk = true}));
  EXPECT_EQ(cmyk.page["page_bitmap"], (nlohmann::json{{"width", 64}, {"height", 80}, {"stride", 192}}));

  const std::string good = fx::jpeg_bytes(64, 80);
  for (const std::string& bad : {std::string("not a JPEG"), good.substr(0, 100)}) {
    const ViewedPage damaged = view_single_page(bad);
    EXPECT_EQ(damaged.run.status, 0);
    EXPECT_TRUE(damaged.page["page_bitmap"].is_null());
    EXPECT_EQ(damaged.page["viewing"], 1);
  }
  const ViewedPage cut = view_single_page(good.substr(0, good.size() * 2 / 3));
  EXPECT_EQ(cut.page["page_width"], 64);
  EXPECT_FALSE(cut.page["page_bitmap"].is_null());
}

// Repeated scans are decoded up to the bound; one more gives the page up,
// in the page view and in the browser's preview alike.
TEST_F(PageLoader, page_of_more_scans_than_the_bound_is_given_up) {
  const std::u16string most = add_page("most.jpg", fx::scan_bomb_jpeg(64, 48, kMaxPageScans));
  const std::u16string bomb = add_page("bomb.jpg", fx::scan_bomb_jpeg(64, 48, kMaxPageScans + 1));
  for (const int viewing : {1, 0}) {
    v->state.viewing = viewing;
    ASSERT_EQ(load_page(*v, most), 0);
    ASSERT_TRUE(page()) << "viewing " << viewing;
    EXPECT_EQ(v->window.page_width, viewing ? 64 : 8);
    ASSERT_EQ(load_page(*v, bomb), 0);
    EXPECT_FALSE(page()) << "viewing " << viewing;
    EXPECT_EQ(v->window.page_width, 0);
  }
}

}  // namespace
}  // namespace zeb
