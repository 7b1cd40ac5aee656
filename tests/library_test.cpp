// Libraries as readers keep them, through the whole headless viewer: page
// order of folders and archives, resuming under automatic sorting, deflated
// and .cbz archives,
// archives made by ZIP tools, damaged entries and odd folder entries.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "platform/text.h"
#include "tests/harness.h"
#include "tools/fixtures/fixtures.h"

namespace zeb {
namespace {

namespace fx = fixtures;
using J = nlohmann::json;

fx::ZipEntry entry(std::string name, std::string data, bool deflate) {
  fx::ZipEntry e;
  e.name = std::move(name);
  e.data = std::move(data);
  e.deflate = deflate;
  return e;
}

std::string page_name(int n) { return std::to_string(n) + ".jpg"; }

// A library in a temporary root with its own settings folder; scripts run
// against it, LOCATION arguments given as paths below the root.
class Library : public ::testing::Test {
 protected:
  fx::TempDir root, settings;

  testing::ScriptRun run(const std::string& script, const std::string& location = "") {
    std::vector<std::string> args;
    if (!location.empty()) args.push_back(root / location);
    testing::ScriptRun r = testing::run_script(root.path(), settings.path(), script, args);
    EXPECT_EQ(r.status, 0) << r.err;
    return r;
  }
  // A book of pages 1.jpg ... n.jpg, written in a shuffled order.
  void numbered_book(const std::string& folder, int n) {
    fx::make_dirs(root / folder);
    std::vector<int> order(n);
    for (int i = 0; i < n; ++i) order[i] = i + 1;
    std::shuffle(order.begin(), order.end(), std::mt19937(11));
    for (int k : order) fx::write_jpeg(root / folder + "/" + page_name(k), 16 + k % 8, 16);
  }
  std::string bookmarks() const { return fx::read_file(settings / "ZEB_CFG/auto_bk.dat"); }
  // Screens of the first pages of an archive in the page view, as PPM bytes.
  std::vector<std::string> page_screens(const std::string& archive, int pages) {
    std::string script = "ok\n";
    for (int k = 0; k < pages; ++k) script += "shot " + root / ("shot" + std::to_string(k) + ".ppm") + "\nok\n";
    run(script, archive);
    std::vector<std::string> shots;
    for (int k = 0; k < pages; ++k) shots.push_back(fx::read_file(root / ("shot" + std::to_string(k) + ".ppm")));
    return shots;
  }
};

J items_of(const J& control) { return control["items"]; }

TEST_F(Library, pages_of_a_folder_open_in_natural_order_without_automatic_sorting) {
  numbered_book("book", 110);
  const auto r = run("control 1003\nstate\n", "book");
  J want = J::array();
  for (int k = 1; k <= 110; ++k) want.push_back(page_name(k));
  ASSERT_EQ(r.controls().size(), 1u);
  EXPECT_EQ(items_of(r.controls()[0]), want);
  EXPECT_EQ(r.last_state()["LastFName"], "1.jpg");
  EXPECT_EQ(r.last_state()["page_current"], 0);
}

TEST_F(Library, automatic_sorting_reopens_the_page_left_and_a_sort_keeps_the_page_being_read) {
  numbered_book("book", 110);
  // Automatic sorting on; 105.jpg (natural position 104) opened from the
  // list, one page on to 106.jpg, back to the browser and a confirmed exit.
  const auto first = run("click 1074\nselect 1003 104\nok\nok\nstate\ncancel\nanswer yes\ncancel\n", "book");
  EXPECT_EQ(first.last_state()["LastFName"], "106.jpg");

  const auto again = run("tick 2\nstate\ncontrol 1003\ncontrol 1043\n");
  const J s = again.states().at(0);
  const J list = items_of(again.controls().at(0));
  EXPECT_EQ(list[0], "1.jpg");
  EXPECT_EQ(list[1], "10.jpg");  // sorted by code units
  EXPECT_EQ(s["LastFName"], "106.jpg");
  EXPECT_EQ(list[s["page_index"].get<int>()], "106.jpg");
  EXPECT_EQ(s["page_current"], 1);
  const std::string status = again.controls().at(1)["text"];
  EXPECT_NE(status.find("[106.jpg]"), std::string::npos) << status;

  // Reading: the page view, one page on; then a descending sort.
  const auto reading = run("ok\nok\nstate\ncontrol 1100\nclick 1073\ntick\nstate\ncontrol 1100\ncontrol 1003\n");
  const J before = reading.states().at(0), after = reading.states().at(1);
  EXPECT_EQ(before["LastFName"], "107.jpg");
  EXPECT_EQ(after["LastFName"], "107.jpg");
  EXPECT_EQ(items_of(reading.controls().at(2))[after["page_index"].get<int>()], "107.jpg");
  EXPECT_EQ(items_of(reading.controls().at(2))[0], "99.jpg");
  EXPECT_EQ(reading.controls().at(0)["items"], reading.controls().at(1)["items"]);  // no history entry
  EXPECT_EQ(after["page_width"], before["page_width"]);
}

TEST_F(Library, sort_without_a_current_page_shows_the_first_page_of_the_sorted_list) {
  numbered_book("book", 12);
  const auto r = run("click 1026\ntick\nstate\ncontrol 1003\n", "book");
  EXPECT_EQ(r.last_state()["page_index"], 0);
  EXPECT_EQ(r.last_state()["LastFName"], "1.jpg");
  EXPECT_EQ(items_of(r.controls()[0])[1], "10.jpg");
  EXPECT_EQ(r.last_state()["page_current"], 0);
}

TEST_F(Library, deflated_book_shows_the_same_pixels_as_the_stored_one) {
  fx::make_dirs(root / "src");
  std::string names;
  for (int k = 1; k <= 3; ++k) {
    fx::write_jpeg(root / "src" + "/" + page_name(k), 300 + 40 * k, 420, {.number = k, .scan_like = true});
    names += " " + page_name(k);
  }
  const std::string zip = "cd '" + root / "src" + "' && zip -q ";
  ASSERT_EQ(std::system((zip + "-0 ../stored.zip" + names).c_str()), 0);
  ASSERT_EQ(std::system((zip + "-6 ../deflated.zip" + names).c_str()), 0);

  const std::vector<std::string> stored = page_screens("stored.zip", 3);
  const std::vector<std::string> deflated = page_screens("deflated.zip", 3);
  for (int k = 0; k < 3; ++k) {
    EXPECT_FALSE(deflated[k].empty());
    EXPECT_TRUE(deflated[k] == stored[k]) << "page " << k + 1;
  }
  EXPECT_NE(deflated[0], deflated[1]);
  // The browser's preview of the first page comes from memory too.
  const auto preview = run("state\n", "deflated.zip");
  EXPECT_EQ(preview.last_state()["archive_mode"], 1);
  EXPECT_EQ(preview.last_state()["page_width"], (300 + 40 + 7) / 8);
}

// A page of an archive: its name as stored, whether the name carries the
// UTF-8 flag, and the name the page list shows.
struct ArchivedPage {
  std::string stored;
  bool utf8_flag;
  std::string shown;
};
ArchivedPage named(const std::string& name) { return {name, false, name}; }
ArchivedPage flagged(const std::string& utf8) { return {utf8, true, utf8}; }
ArchivedPage shift_jis(const std::string& utf8) { return {text::to_cp932(text::from_utf8(utf8)), false, utf8}; }

struct ShuffledArchive {
  std::string file;
  bool deflate;
  std::vector<ArchivedPage> listed;  // in the order the page list must show
  std::vector<std::string> folders;  // folder entries stored among the pages
};

// The archive's records in a shuffled order; pages of one name keep the
// order in which they list. Page k of the listing is k * 8 + 16 pixels wide.
std::vector<fx::ZipEntry> shuffled_records(const ShuffledArchive& a) {
  std::vector<size_t> order(a.listed.size());
  for (size_t k = 0; k < order.size(); ++k) order[k] = k;
  std::shuffle(order.begin(), order.end(), std::mt19937(29));
  for (size_t i = 0; i < order.size(); ++i)
    for (size_t j = i + 1; j < order.size(); ++j)
      if (a.listed[order[i]].shown == a.listed[order[j]].shown && order[i] > order[j]) std::swap(order[i], order[j]);
  EXPECT_FALSE(std::is_sorted(order.begin(), order.end())) << "the records are not shuffled";
  std::vector<fx::ZipEntry> records;
  for (size_t k : order) {
    const ArchivedPage& p = a.listed[k];
    records.push_back(entry(p.stored, fx::jpeg_bytes(16 + 8 * static_cast<int>(k), 16), a.deflate));
    records.back().utf8_flag = p.utf8_flag;
  }
  for (size_t i = 0; i < a.folders.size(); ++i)
    records.insert(records.begin() + std::min(2 * i + 1, records.size()), entry(a.folders[i], "", false));
  return records;
}

TEST_F(Library, shuffled_archives_list_their_pages_in_natural_order_and_open_and_resume_each) {
  std::vector<ArchivedPage> numbered;
  for (int n = 1; n <= 12; ++n) numbered.push_back(named(page_name(n)));
  std::vector<ArchivedPage> with_twins = numbered;
  with_twins.insert(with_twins.begin() + 5, named("5.jpg"));  // a second entry of that name
  const std::vector<ShuffledArchive> archives = {
      {"stored.zip", false, numbered, {}},
      {"deflated.cbz", true, with_twins, {}},
      {"chapters.zip",
       false,
       {named("ch1/1.jpg"), named("ch1/2.jpg"), named("Ch1/3.jpg"), named("ch1/10.jpg"), named("ch2/1.jpg"),
        named("ch2/10.jpg"), named("ch10/1.jpg")},
       {"ch1/", "ch2/", "ch10/"}},
      {"japanese.zip",
       true,
       {shift_jis("あとがき.jpg"), flagged("第1話.jpg"), shift_jis("第2話.jpg"), flagged("第10話.jpg"),
        shift_jis("表紙.jpg")},
       {}},
  };
  for (const ShuffledArchive& a : archives) {
    SCOPED_TRACE(a.file);
    const std::vector<fx::ZipEntry> records = shuffled_records(a);
    fx::write_file(root / a.file, fx::zip_bytes(records));
    const int pages = static_cast<int>(a.listed.size());
    J want = J::array();
    for (const ArchivedPage& p : a.listed) want.push_back(p.shown);

    // Every item of the list opens its own page; the reader turns to the
    // one before the last and ends the viewer.
    std::string script = "control 1003\n";
    for (int k = 0; k < pages; ++k) script += "select 1003 " + std::to_string(k) + "\ndblclick 1003\nstate\ncancel\n";
    const int kept = pages - 2;
    script += "select 1003 " + std::to_string(kept - 1) + "\ndblclick 1003\nok\ncancel\nanswer yes\ncancel\n";
    const auto r = run(script, a.file);
    EXPECT_EQ(items_of(r.controls().at(0)), want);
    const auto states = r.states();
    ASSERT_EQ(states.size(), a.listed.size());
    for (int k = 0; k < pages; ++k) {
      EXPECT_EQ(states[k]["LastFName"], a.listed[k].shown) << k;
      EXPECT_EQ(states[k]["page_width"], 16 + 8 * k) << k;
    }

    // Started again, the viewer resumes the archive at that page by name.
    const J resumed = run("ok\nstate\n").last_state();
    EXPECT_EQ(resumed["LastDir"], "\\" + a.file);
    EXPECT_EQ(resumed["page_index"], kept);
    EXPECT_EQ(resumed["LastFName"], a.listed[kept].shown);
    EXPECT_EQ(resumed["page_width"], 16 + 8 * kept);
  }
}

TEST_F(Library, cbz_archive_is_listed_opened_remembered_and_resumed) {
  fx::make_dirs(root / "lib/folder");
  fx::write_jpeg(root / "lib/folder/1.jpg", 16, 16);
  std::vector<fx::ZipEntry> pages;
  for (int k = 1; k <= 3; ++k) pages.push_back(entry(page_name(k), fx::jpeg_bytes(20 + k, 16), true));
  fx::write_file(root / "lib/Comic.CBZ", fx::zip_bytes(pages));

  // Listed beside the folder, entered from the folder list, read to page 2,
  // and the exit saves it.
  const auto first =
      run("control 1001\nselect 1001 1\ncontrol 1066\nok\nok\nstate\ncancel\n"
          "answer yes\ncancel\n",
          "lib");
  EXPECT_EQ(items_of(first.controls().at(0)), J({"<..>", "Comic.CBZ", "folder"}));
  EXPECT_EQ(items_of(first.controls().at(1)), J({"\\lib\\Comic.CBZ", "\\lib\\folder"}));
  const J opened = first.last_state();
  EXPECT_EQ(opened["LastDir"], "\\lib\\Comic.CBZ");
  EXPECT_EQ(opened["archive_mode"], 1);
  EXPECT_EQ(opened["page_width"], 22);
  EXPECT_NE(bookmarks().find("\\lib\\Comic.CBZ\r\n2.jpg\r\n"), std::string::npos) << bookmarks();

  const auto resumed = run("ok\nstate\n");
  EXPECT_EQ(resumed.last_state()["LastDir"], "\\lib\\Comic.CBZ");
  EXPECT_EQ(resumed.last_state()["page_index"], 1);
  EXPECT_EQ(resumed.last_state()["page_width"], 22);

  // Named on the command line.
  EXPECT_EQ(run("state\n", "lib/Comic.CBZ").last_state()["archive_mode"], 1);
}

TEST_F(Library, damaged_deflated_entries_abandon_their_page_and_the_viewer_runs_on) {
  const std::string good = fx::jpeg_bytes(40, 30);
  std::vector<fx::ZipEntry> entries = {entry("1.jpg", good, true), entry("2.jpg", good, true),
                                       entry("3.jpg", good, true), entry("4.jpg", fx::jpeg_bytes(48, 30), true)};
  std::string zip = fx::zip_bytes(entries, false);
  // The first three records are alike: header, 5-byte name, packed data.
  std::uint32_t packed = 0;
  for (int i = 3; i >= 0; --i) packed = (packed << 8) | static_cast<unsigned char>(zip[18 + i]);
  const size_t record = 30 + 5 + packed;
  // 2.jpg: one byte of its data changed (a CRC error or a broken stream).
  zip[record + 35 + packed / 2] = static_cast<char>(zip[record + 35 + packed / 2] ^ 0x01);
  // 3.jpg: its stream cut by 10 bytes, the record shortened to match.
  const size_t third = 2 * record;
  std::string cut = zip.substr(0, third + 35 + packed - 10) + zip.substr(third + record);
  const std::uint32_t shorter = packed - 10;
  for (int i = 0; i < 4; ++i) cut[third + 18 + i] = static_cast<char>((shorter >> (8 * i)) & 0xFF);
  fx::write_file(root / "bad.zip", cut);

  const auto r = run("ok\nstate\nok\nstate\nok\nstate\nok\nstate\n", "bad.zip");
  const auto states = r.states();
  ASSERT_EQ(states.size(), 4u);
  EXPECT_EQ(states[0]["page_width"], 40);
  EXPECT_TRUE(states[1]["page_bitmap"].is_null());
  EXPECT_TRUE(states[2]["page_bitmap"].is_null());
  EXPECT_EQ(states[3]["page_width"], 48);
  EXPECT_EQ(states[3]["LastFName"], "4.jpg");
}

TEST_F(Library, archives_streamed_by_zip_list_their_pages_and_utf8_names_read_right) {
  fx::make_dirs(root / "src");
  const std::vector<std::string> names = {"表紙.jpg", "第1話.jpg", "été.jpg"};
  std::string quoted;
  for (size_t k = 0; k < names.size(); ++k) {
    fx::write_jpeg(root / "src/" + names[k], 24 + 8 * static_cast<int>(k), 16);
    quoted += " '" + names[k] + "'";
  }
  // To a pipe: every size goes to a data descriptor.
  ASSERT_EQ(std::system(("cd '" + root / "src" + "' && zip -q -6 -" + quoted + " | cat > ../streamed.zip").c_str()), 0);
  // Without the UTF-8 flag, as many Linux tools write names.
  std::vector<fx::ZipEntry> plain;
  for (const std::string& n : names) plain.push_back(entry(n, fx::jpeg_bytes(16, 16), false));
  fx::write_file(root / "linux.zip", fx::zip_bytes(plain));

  for (const char* archive : {"streamed.zip", "linux.zip"}) {
    const auto r = run("control 1003\nok\nok\nok\nstate\n", archive);
    // In natural order: the code points of é, 第 and 表.
    EXPECT_EQ(items_of(r.controls().at(0)), J({names[2], names[1], names[0]})) << archive;
    EXPECT_EQ(r.last_state()["LastFName"], names[0]) << archive;
    EXPECT_FALSE(r.last_state()["page_bitmap"].is_null()) << archive;
  }
}

TEST_F(Library, entry_names_with_line_breaks_are_skipped_and_the_history_keeps_its_pairs) {
  std::vector<fx::ZipEntry> entries = {
      entry("a.jpg", fx::jpeg_bytes(16, 16), false), entry("b\r\nc.jpg", fx::jpeg_bytes(16, 16), false),
      entry("d\n.jpg", fx::jpeg_bytes(16, 16), true), entry("e.jpg", fx::jpeg_bytes(24, 16), false)};
  fx::write_file(root / "crlf.zip", fx::zip_bytes(entries));
  const auto r = run("control 1003\nok\nok\nstate\ncancel\nanswer yes\ncancel\n", "crlf.zip");
  EXPECT_EQ(items_of(r.controls().at(0)), J({"a.jpg", "e.jpg"}));
  EXPECT_EQ(r.last_state()["page_width"], 24);
  EXPECT_EQ(bookmarks(), "\\crlf.zip\r\ne.jpg\r\n");
}

TEST_F(Library, fifos_and_devices_named_like_pages_or_archives_are_not_offered) {
  fx::make_dirs(root / "book");
  fx::write_jpeg(root / "book/2.jpg", 16, 16);
  ASSERT_EQ(::mkfifo((root / "book/1.jpg").c_str(), 0600), 0);
  ASSERT_EQ(::mkfifo((root / "book/book.zip").c_str(), 0600), 0);
  ASSERT_EQ(::symlink("/dev/zero", (root / "book/0.jpg").c_str()), 0);
  const auto r = run("control 1001\ncontrol 1003\nok\nok\nstate\n", "book");
  EXPECT_EQ(items_of(r.controls().at(0)), J({"<..>"}));
  EXPECT_EQ(items_of(r.controls().at(1)), J({"2.jpg"}));
  EXPECT_EQ(r.last_state()["page_width"], 16);
}

}  // namespace
}  // namespace zeb
