// Reads window dumps (xwd, 32 bits per pixel) for the window test:
//   zeb-window-shot png DUMP OUT.png
//     converts a dump to PNG (the screenshots of the documentation);
//   zeb-window-shot compare DUMP REFERENCE [TURN]
//     compares a window of any size with a dump of the 480 x 640 screen at
//     scale 1, or with the screen as `zeb --headless` saves it (`shot`, a
//     binary PPM): every screen pixel is read where the window places it
//     (scaled to fit, centred, turned), and the margins must be black.
//     Prints the figures; exit status 0 when the window shows the reference.
//   zeb-window-shot which DUMP REFERENCE...
//     prints the number (from 1) of the first reference the window shows,
//     unturned; exit status 1 when it shows none of them.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "frontend/sdl/screen_fit.h"
#include "widgets/bitmap.h"

namespace {

struct Dump {
  int width = 0, height = 0;
  std::vector<std::uint8_t> rgb;  // top-down rows
  const std::uint8_t* at(int x, int y) const { return &rgb[(static_cast<size_t>(y) * width + x) * 3]; }
};

std::uint32_t field(const std::string& bytes, int index) {
  std::uint32_t v = 0;
  for (int i = 0; i < 4; ++i) v = (v << 8) | static_cast<std::uint8_t>(bytes[index * 4 + i]);
  return v;
}

// A binary PPM with 8-bit samples, as the script front end's `shot` writes.
std::optional<Dump> read_ppm(const std::string& bytes) {
  std::istringstream header(bytes);
  std::string magic;
  int maxval = 0;
  Dump d;
  header >> magic >> d.width >> d.height >> maxval;
  const auto start = static_cast<size_t>(header.tellg()) + 1;  // one blank ends the header
  if (!header || magic != "P6" || maxval != 255 || d.width <= 0 || d.height <= 0 ||
      start + static_cast<size_t>(d.width) * d.height * 3 > bytes.size())
    return std::nullopt;
  d.rgb.assign(bytes.begin() + static_cast<std::ptrdiff_t>(start),
               bytes.begin() + static_cast<std::ptrdiff_t>(start + static_cast<size_t>(d.width) * d.height * 3));
  return d;
}

std::optional<Dump> read_dump(const std::string& path) {
  std::ifstream in(path, std::ios::binary | std::ios::ate);
  std::string bytes(in ? static_cast<size_t>(in.tellg()) : 0, '\0');
  in.seekg(0);
  in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (bytes.rfind("P6", 0) == 0) return read_ppm(bytes);
  if (bytes.size() < 100) return std::nullopt;
  const std::uint32_t header = field(bytes, 0), byte_order = field(bytes, 7), bpp = field(bytes, 11);
  const std::uint32_t line = field(bytes, 12), colours = field(bytes, 19);
  Dump d;
  d.width = static_cast<int>(field(bytes, 4));
  d.height = static_cast<int>(field(bytes, 5));
  const size_t start = header + 12ull * colours;
  // Depth-24 dumps (the root window's) keep 32-bit pixels too.
  if ((bpp != 32 && !(bpp == 24 && line >= 4u * field(bytes, 4))) || d.width <= 0 || d.height <= 0 ||
      start + static_cast<size_t>(line) * d.height > bytes.size())
    return std::nullopt;
  d.rgb.resize(static_cast<size_t>(d.width) * d.height * 3);
  for (int y = 0; y < d.height; ++y)
    for (int x = 0; x < d.width; ++x) {
      const auto* p =
          reinterpret_cast<const std::uint8_t*>(bytes.data() + start + static_cast<size_t>(y) * line + x * 4);
      std::uint8_t* out = &d.rgb[(static_cast<size_t>(y) * d.width + x) * 3];
      if (byte_order == 0) out[0] = p[2], out[1] = p[1], out[2] = p[0];  // B G R x
      else out[0] = p[1], out[1] = p[2], out[2] = p[3];                  // x R G B
    }
  return d;
}

int to_png(const Dump& d, const std::string& out) {
  auto b = zeb::platform::Bitmap::create(d.width, d.height);
  if (!b) return 1;
  for (int y = 0; y < d.height; ++y)
    for (int x = 0; x < d.width; ++x) {
      std::uint8_t* p = b->picture_row(y) + x * 3;
      const std::uint8_t* c = d.at(x, y);
      p[0] = c[2], p[1] = c[1], p[2] = c[0];
    }
  return zeb::platform::save_png(*b, out) ? 0 : 1;
}

// Whether the window dump shows the reference screen; `verdict` gives the figures.
bool shows(const Dump& shot, const Dump& reference, int turn, std::string& verdict) {
  if (reference.width != 480 || reference.height != 640) {
    verdict = "the reference is " + std::to_string(reference.width) + "x" + std::to_string(reference.height) +
              ", not 480x640";
    return false;
  }
  const zeb::sdl::ScreenFit fit({shot.width, shot.height}, turn);
  long long total = 0, far_off = 0;
  for (int sy = 0; sy < 640; ++sy)
    for (int sx = 0; sx < 480; ++sx) {
      double wx = 0, wy = 0;
      fit.to_window(sx, sy, wx, wy);
      const std::uint8_t* got = shot.at(static_cast<int>(wx), static_cast<int>(wy));
      const std::uint8_t* want = reference.at(sx, sy);
      int worst = 0;
      for (int c = 0; c < 3; ++c) {
        const int d = std::abs(got[c] - want[c]);
        total += d;
        worst = std::max(worst, d);
      }
      far_off += worst > 64;
    }
  // The margins are black, but for a pixel of blending at the screen's edge.
  long long lit_margin = 0;
  for (int y = 0; y < shot.height; ++y)
    for (int x = 0; x < shot.width; ++x) {
      const bool inside = x >= fit.x() - 1 && x <= fit.x() + fit.w() && y >= fit.y() - 1 && y <= fit.y() + fit.h();
      const std::uint8_t* p = shot.at(x, y);
      if (!inside && (p[0] > 16 || p[1] > 16 || p[2] > 16)) ++lit_margin;
    }
  const double mean = static_cast<double>(total) / (480.0 * 640 * 3);
  const double share = 100.0 * far_off / (480.0 * 640);
  char line[256];
  std::snprintf(line, sizeof line,
                "window %dx%d, screen at %d,%d size %dx%d (scale %.3f): mean difference %.2f, %.2f%% far off, "
                "%lld lit margin pixels",
                shot.width, shot.height, fit.x(), fit.y(), fit.w(), fit.h(), fit.scale(), mean, share, lit_margin);
  verdict = line;
  // Whole scales copy pixels exactly; smoothing at other scales only blurs edges.
  const bool exact = fit.integer_scale();
  return (exact ? mean == 0 : mean < 6 && share < 4) && lit_margin == 0;
}

int compare(const Dump& shot, const Dump& reference, int turn) {
  std::string verdict;
  const bool same = shows(shot, reference, turn, verdict);
  std::printf("%s\n", verdict.c_str());
  return same ? 0 : 1;
}

int which(const Dump& shot, int count, char** references) {
  for (int i = 0; i < count; ++i) {
    std::string verdict;
    const auto reference = read_dump(references[i]);
    if (reference && shows(shot, *reference, 0, verdict)) {
      std::printf("%d\n", i + 1);
      return 0;
    }
  }
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string what = argc > 1 ? argv[1] : "";
  if (what == "png" && argc == 4) {
    auto d = read_dump(argv[2]);
    return d ? to_png(*d, argv[3]) : 1;
  }
  if (what == "compare" && (argc == 4 || argc == 5)) {
    auto shot = read_dump(argv[2]), reference = read_dump(argv[3]);
    if (!shot || !reference) {
      std::printf("unreadable dump\n");
      return 1;
    }
    return compare(*shot, *reference, argc == 5 ? std::atoi(argv[4]) : 0);
  }
  if (what == "which" && argc >= 4) {
    auto shot = read_dump(argv[2]);
    return shot ? which(*shot, argc - 3, argv + 3) : 1;
  }
  std::fprintf(stderr,
               "usage: zeb-window-shot png DUMP OUT.png | compare DUMP REFERENCE [TURN] | which DUMP REFERENCE...\n");
  return 2;
}
