// Writes the seed inputs of every fuzz target into fuzz/corpus/<target>/:
// small pages and archives made by the fixture writers and settings files
// made by the viewer's own writers. Run once when a target is added; the
// fuzzers then grow the folders.
#include <cstdio>
#include <string>
#include <utility>

#include "input/keys.h"
#include "settings/bookmarks.h"
#include "settings/config.h"
#include "settings/key_bindings.h"
#include "settings/presets.h"
#include "tools/fixtures/fixtures.h"

namespace fx = zeb::fixtures;

namespace {

std::string corpus;

void seed(const std::string& target, const std::string& name, const std::string& bytes) {
  fx::make_dirs(corpus + "/" + target);
  fx::write_file(corpus + "/" + target + "/" + name, bytes);
}

void page_seeds() {
  seed("page_decode", "colour_16x16", fx::jpeg_bytes(16, 16, {.quality = 50}));
  seed("page_decode", "grey_33x17", fx::jpeg_bytes(33, 17, {.grey = true, .quality = 50}));
  seed("page_decode", "cmyk_24x16", fx::jpeg_bytes(24, 16, {.cmyk = true, .quality = 50}));
  seed("page_decode", "progressive_40x30", fx::jpeg_bytes(40, 30, {.progressive = true, .quality = 50}));
  seed("page_decode", "one_pixel", fx::jpeg_bytes(1, 1));
  const std::string page = fx::jpeg_bytes(64, 48, {.quality = 40, .number = 3});
  seed("page_decode", "numbered_64x48", page);
  seed("page_decode", "cut_short", page.substr(0, page.size() / 2));
}

fx::ZipEntry deflated(std::string name, std::string data) {
  fx::ZipEntry e{std::move(name), std::move(data)};
  e.deflate = true;
  return e;
}

void archive_seeds() {
  const std::string a = fx::jpeg_bytes(8, 8, {.quality = 30});
  const std::string b = fx::jpeg_bytes(16, 8, {.grey = true, .quality = 30});
  seed("archive_list", "two_pages", fx::zip_bytes({{"p1.jpg", a}, {"p2.JPEG", b}}));
  seed("archive_list", "no_directory", fx::zip_bytes({{"p1.jpg", a}, {"notes.txt", "text"}}, false));
  seed("archive_list", "descriptor", fx::zip_bytes({{"d.jpg", a, false, "", false, true}, {"p2.jpg", b}}));
  seed("archive_list", "compressed", fx::zip_bytes({{"c.jpg", a, true}, {"p.jpg", b}}));
  seed("archive_list", "deflated", fx::zip_bytes({deflated("d1.jpg", a), {"s.jpg", b}, deflated("d2.jpeg", b)}));
  fx::ZipEntry streamed = deflated("d.jpg", a);
  streamed.data_descriptor = true;
  seed("archive_list", "deflated_descriptor", fx::zip_bytes({streamed, {"p2.jpg", b}, streamed}));
  seed("archive_list", "deflated_descriptor_no_directory", fx::zip_bytes({{"p1.jpg", a}, streamed}, false));
  seed("archive_list", "names", fx::zip_bytes({{"\x83\x79\x81\x5b\x83\x57.jpg", a},
                                               {"\xe3\x83\x9a.jpg", b, false, "", true},
                                               {"dir/x.jpg", a, false, "UT\x05\x00\x01\x00\x00\x00\x00"}}));
}

// Inputs that once did harm, kept apart from the corpus the fuzzers grow.
void regressions(const std::string& dir) {
  const std::string a = fx::jpeg_bytes(8, 8, {.quality = 30});
  // Entry names holding CR LF or LF would have split the history file's pairs.
  fx::write_file(dir + "/archive_list/crlf_names",
                 fx::zip_bytes({{"a.jpg", a}, {"b\r\nc.jpg", a}, deflated("d\n.jpg", a), {"e.jpg", a}}));
}

void settings_seeds() {
  zeb::ViewerState s;
  zeb::ConfigControlValues c{0, u"240", u"320", u"20"};
  seed("configuration", "defaults", zeb::format_configuration(s, c));
  s.LastDir = u"\\book.zip";
  s.LastFName = u"p2.jpg";
  s.v_mode = 4; s.RSC = 1; s.lr_mir = -1; s.SO_CH = 1; s.SO_CHF = 1; s.MAX_BLOG = 2;
  seed("configuration", "archive_turned", zeb::format_configuration(s, {4, u"480", u"640", u"5"}));
  s.LastDir = u"\\";
  s.LastFName = u"page.jpg";
  s.v_mode = 5; s.v_left = 1; s.ZOOM_MODE = 1; s.SC_MODE = 1;
  seed("configuration", "long_side", zeb::format_configuration(s, {5, u"16", u"99999", u"0"}));

  seed("key_bindings", "defaults", zeb::key_bindings_text(zeb::default_key_actions()));
  zeb::KeyActions all{};
  for (int k = 0; k < zeb::kKeySlots; ++k) all[k] = k % 11;
  seed("key_bindings", "every_action", zeb::key_bindings_text(all));

  seed("bookmarks", "empty", "");
  seed("bookmarks", "pairs", zeb::format_bookmarks({u"\\", u"page.jpg", u"\\book.zip", u"p1.jpg",
                                                   u"\\漫画", u"表紙.jpg"}));
  seed("bookmarks", "odd", "\\\r\npage.jpg\r\n\\gone\n");

  zeb::ViewerState p;
  seed("presets", "defaults", zeb::format_preset(p, 0, u"240", u"320"));
  p.v_left = 1; p.r_top = 0; p.u_top = 1; p.lr_mir = -1; p.ud_mir = -1;
  seed("presets", "turned_mirrored", zeb::format_preset(p, 3, u"100", u"7"));
  seed("presets", "short", "v_mode=6\r\nud_lop=1\r\n");
}

void script_seeds() {
  seed("script_parser", "browse", "state\nok\ntick 3\ntap 470 600\nkey right press\ncancel\nanswer yes\ncancel\n");
  seed("script_parser", "controls", "click 1004\nselect 1003 0\ntext 1031 480\ntype 12\nslider 0\ncontrol 1003\n");
  seed("script_parser", "input", "down 10 10\nmove 40 80\ntick\nup 40 80\nkey 0xC1 down\nkey 0xC1 up\n"
                                 "menu 8200\ncommand 7200\nforeground no\npaint\ndblclick 1003\nquit\n");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2 && argc != 3) {
    std::fprintf(stderr, "usage: zeb-fuzz-seeds CORPUS_DIR [REGRESSIONS_DIR]\n");
    return 2;
  }
  corpus = argv[1];
  if (argc == 3) regressions(argv[2]);
  page_seeds();
  archive_seeds();
  settings_seeds();
  script_seeds();
  return 0;
}
