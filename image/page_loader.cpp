// Page loading: opens the page (a file, or the current archive at the
// entry's data offset), decodes it with libjpeg one row at a time straight
// into the page bitmap, and prepares the view of the new page.
//
// libjpeg reports fatal errors through a callback that must not return; ours
// jumps back into the decoder with longjmp. Every function that calls setjmp
// keeps only trivially destructible state, so the jump never skips a
// destructor, and the C++ allocation of the bitmap happens between the two
// guarded phases.
#include "image/page_loader.h"

#include <atomic>
#include <csetjmp>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <type_traits>

#include <jpeglib.h>

#include "core/archive_entry.h"
#include "core/codes.h"
#include "core/control_ids.h"
#include "host/files.h"
#include "host/text.h"

namespace zeb {
namespace {

// Whole-image buffers of progressive files come from this budget (bytes);
// a file that needs more is refused by the library instead of exhausting
// the memory. A page at the largest allowed bitmap size fits.
constexpr long kDecoderMemoryLimit = 2L << 30;

struct GuardedErrorManager {
  jpeg_error_mgr standard;  // first member: libjpeg passes us a pointer to it
  std::jmp_buf resume;
};

[[noreturn]] void resume_after_fatal_error(j_common_ptr cinfo) {
  (*cinfo->err->output_message)(cinfo);
  std::longjmp(reinterpret_cast<GuardedErrorManager*>(cinfo->err)->resume, 1);
}

enum class Pixels { grey, bgr, cmyk };

// One decode's libjpeg state, shared by the guarded phases.
struct Decoder {
  jpeg_decompress_struct cinfo;
  GuardedErrorManager err;
  jpeg_progress_mgr progress;
  const std::atomic<bool>* cancel;  // null: the decode is never cancelled
  long long max_bitmap_bytes;       // 0: only the viewer's bitmap limit
  RowListener* listener;            // null: nobody follows the rows
  Pixels pixels;
  bool preview;
};
static_assert(std::is_trivially_destructible_v<Decoder>);

bool cancelled(const Decoder& d) { return d.cancel && d.cancel->load(std::memory_order_relaxed); }

// libjpeg calls this between rows of input and of output, including while it
// reads the scans of a progressive file ahead of the first row: the place to
// give up on a file with too many scans and to stop a cancelled decode.
void watch_progress(j_common_ptr common) {
  auto& d = *static_cast<Decoder*>(common->client_data);
  if (d.cinfo.input_scan_number > kMaxPageScans || cancelled(d)) std::longjmp(d.err.resume, 1);
}

// Bitmap sides: greyscale pages are rounded up to the next multiple of 8
// that is strictly greater, which also leaves their rows without padding.
long long bitmap_side(long long output_side, Pixels pixels) {
  return pixels == Pixels::grey ? (output_side / 8 + 1) * 8 : output_side;
}

// Refuses headers whose page would exceed the bitmap size the viewer
// allocates. The preview is refused too: it stands for a page that could
// never be shown, and such headers are almost always damaged files.
bool fits_bitmap(const Decoder& d) {
  const long long w = bitmap_side(d.cinfo.output_width, d.pixels);
  const long long h = bitmap_side(d.cinfo.output_height, d.pixels);
  if (bitmap_side(d.cinfo.image_width, d.pixels) * bitmap_side(d.cinfo.image_height, d.pixels) >
      platform::kMaxBitmapPixels)
    return false;
  return d.max_bitmap_bytes <= 0 ||
         static_cast<long long>(platform::dib_stride(static_cast<int>(w))) * h <= d.max_bitmap_bytes;
}

// The thumbnail outside the page view: one eighth of the size with the
// library's fast settings.
void apply_preview_settings(jpeg_decompress_struct& cinfo) {
  cinfo.scale_num = 1;
  cinfo.scale_denom = 8;
  cinfo.two_pass_quantize = FALSE;
  cinfo.dither_mode = JDITHER_ORDERED;
  if (!cinfo.quantize_colors) cinfo.desired_number_of_colors = 216;
  cinfo.dct_method = JDCT_IFAST;
  cinfo.do_fancy_upsampling = FALSE;
}

// Four-component files come out as CMYK to be converted; every other file,
// greyscale included, is asked for blue-green-red, the byte order of the
// bitmap, so that the library writes grey pixels straight out as three equal
// bytes.
void choose_output(Decoder& d) {
  switch (d.cinfo.jpeg_color_space) {
    case JCS_GRAYSCALE:
      d.pixels = Pixels::grey;
      d.cinfo.out_color_space = JCS_EXT_BGR;
      break;
    case JCS_CMYK:
    case JCS_YCCK:
      d.pixels = Pixels::cmyk;
      d.cinfo.out_color_space = JCS_CMYK;
      break;
    default:
      d.pixels = Pixels::bgr;
      d.cinfo.out_color_space = JCS_EXT_BGR;
      break;
  }
}

int output_components(Pixels pixels) { return pixels == Pixels::cmyk ? 4 : 3; }

// Where the compressed bytes come from: a file at its current position, or
// a buffer in memory (an entry inflated from an archive).
struct Source {
  std::FILE* file = nullptr;
  const unsigned char* bytes = nullptr;
  std::size_t size = 0;
};

void attach_source(jpeg_decompress_struct& cinfo, const Source& source) {
  if (source.file) {
    jpeg_stdio_src(&cinfo, source.file);
  } else {
    jpeg_mem_src(&cinfo, source.bytes, static_cast<unsigned long>(source.size));
  }
}

// Creates the decompressor, reads the header and starts decompression.
// False after a fatal library error or for a refused size.
bool start_decoding(Decoder& d, const Source& source) {
  if (setjmp(d.err.resume)) return false;
  d.cinfo.err = jpeg_std_error(&d.err.standard);
  d.err.standard.error_exit = resume_after_fatal_error;
  jpeg_create_decompress(&d.cinfo);
  d.cinfo.mem->max_memory_to_use = kDecoderMemoryLimit;
  d.cinfo.client_data = &d;
  d.progress.progress_monitor = watch_progress;
  d.cinfo.progress = &d.progress;
  attach_source(d.cinfo, source);
  jpeg_read_header(&d.cinfo, TRUE);
  if (d.preview) apply_preview_settings(d.cinfo);
  choose_output(d);
  jpeg_calc_output_dimensions(&d.cinfo);
  if (!fits_bitmap(d) || cancelled(d)) return false;
  jpeg_start_decompress(&d.cinfo);
  return d.cinfo.output_components == output_components(d.pixels);
}

// Adobe files (those with the Adobe marker) store 255 minus the ink amount.
void cmyk_row_to_bgr(const std::uint8_t* cmyk, std::uint8_t* bgr, int width, bool inverted) {
  for (int x = 0; x < width; ++x, cmyk += 4, bgr += 3) {
    const int k = inverted ? cmyk[3] : 255 - cmyk[3];
    for (int i = 0; i < 3; ++i) {
      const int ink_free = inverted ? cmyk[2 - i] : 255 - cmyk[2 - i];
      bgr[i] = static_cast<std::uint8_t>((ink_free * k + 127) / 255);
    }
  }
}

// Reads the rows top to bottom into the bitmap (picture row y is memory row
// H - 1 - y) and finishes decompression. False after a fatal library error.
bool read_rows(Decoder& d, platform::Bitmap& bitmap) {
  if (setjmp(d.err.resume)) return false;
  jpeg_decompress_struct& cinfo = d.cinfo;
  const int width = static_cast<int>(cinfo.output_width);
  JSAMPARRAY cmyk_row = nullptr;
  if (d.pixels == Pixels::cmyk) {
    cmyk_row = (*cinfo.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&cinfo), JPOOL_IMAGE,
                                          cinfo.output_width * 4, 1);
  }
  while (cinfo.output_scanline < cinfo.output_height) {
    if (cancelled(d)) return false;
    std::uint8_t* row = bitmap.picture_row(static_cast<int>(cinfo.output_scanline));
    JSAMPROW target = cmyk_row ? cmyk_row[0] : row;
    if (jpeg_read_scanlines(&cinfo, &target, 1) != 1) return false;
    if (cmyk_row) cmyk_row_to_bgr(cmyk_row[0], row, width, cinfo.saw_Adobe_marker);
    if (d.listener) d.listener->rows_final(static_cast<int>(cinfo.output_scanline));
  }
  jpeg_finish_decompress(&cinfo);
  return true;
}

// The bitmap the rows go to: the spare when it has the size, cleared
// outside the picture the rows will write, else a new zero-filled one.
std::unique_ptr<platform::Bitmap> page_bitmap(int bitmap_width, int bitmap_height, int width, int height,
                                              std::unique_ptr<platform::Bitmap>* spare) {
  if (spare && *spare && (*spare)->width() == bitmap_width && (*spare)->height() == bitmap_height) {
    platform::clear_outside(**spare, width, height);
    return std::move(*spare);
  }
  return platform::Bitmap::create(bitmap_width, bitmap_height);
}

DecodedPage decode(const Source& source, bool preview, const DecodeLimits& limits, RowListener* listener) {
  DecodedPage page;
  Decoder d{};
  d.preview = preview;
  d.cancel = limits.cancel;
  d.max_bitmap_bytes = limits.max_bitmap_bytes;
  d.listener = listener;
  if (start_decoding(d, source)) {
    const auto w = static_cast<int>(d.cinfo.output_width);
    const auto h = static_cast<int>(d.cinfo.output_height);
    page.bitmap = page_bitmap(static_cast<int>(bitmap_side(w, d.pixels)), static_cast<int>(bitmap_side(h, d.pixels)), w,
                              h, limits.spare);
    if (page.bitmap && listener) listener->page_started(*page.bitmap, w, h);
    if (page.bitmap && read_rows(d, *page.bitmap)) {
      page.width = w;
      page.height = h;
    } else {
      if (page.bitmap && listener) listener->page_abandoned();
      page.bitmap.reset();
    }
  }
  jpeg_destroy_decompress(&d.cinfo);
  return page;
}

}  // namespace

DecodedPage decode_jpeg(std::FILE* file, bool preview, const DecodeLimits& limits, RowListener* listener) {
  if (!file) return {};
  return decode(Source{file, nullptr, 0}, preview, limits, listener);
}

DecodedPage decode_jpeg(const unsigned char* bytes, std::size_t size, bool preview, const DecodeLimits& limits,
                        RowListener* listener) {
  // An empty buffer has no header; libjpeg would treat it as a fatal error
  // anyway, but it also refuses a null pointer outright.
  if (!bytes || size == 0) return {};
  return decode(Source{nullptr, bytes, size}, preview, limits, listener);
}

PageKey page_key(const Viewer& v, int index, const std::u16string& path) {
  const ViewerState& s = v.state;
  PageKey key;
  key.archive = s.archive_mode == 1;
  key.location = key.archive ? s.LastDir : path;
  key.name = v.dialog.item_text(ctl::page_list, index);
  if (key.archive) key.entry = v.dialog.item_text(ctl::archive_offsets, index);
  key.preview = s.viewing == 0 && s.settings_open == 0;
  return key;
}

// An archive entry: a stored one in place, the file moved forward from its
// start to the entry's data; a deflated one from memory after inflating it.
// A damaged entry gives no page, as a damaged file does.
DecodedPage decode_page(std::FILE* file, const PageKey& key, const DecodeLimits& limits, RowListener* listener) {
  if (!key.archive) return decode_jpeg(file, key.preview, limits, listener);
  const ArchiveEntry entry = archive_entry_of_item(key.entry);
  if (entry.data_offset < 0) return {};
  if (entry.deflated) {
    std::optional<std::vector<unsigned char>> bytes = read_deflated_entry(file, entry);
    if (!bytes) return {};
    return decode_jpeg(bytes->data(), bytes->size(), key.preview, limits, listener);
  }
  if (!platform::seek_host_file(file, entry.data_offset, SEEK_CUR)) return {};
  return decode_jpeg(file, key.preview, limits, listener);
}

}  // namespace zeb
