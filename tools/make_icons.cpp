// Writes the program's icon at the desktop's sizes, drawn by the same code
// as the window's icon: DIR/NxN/apps/zeb.png for N = 32, 48, 128, 256.
#include <cstdio>
#include <string>

#include "host/files.h"
#include "view/pictures.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: zeb-icons DIR\n");
    return 2;
  }
  for (int size : {32, 48, 128, 256}) {
    const std::string n = std::to_string(size);
    const std::string dir = std::string(argv[1]) + "/" + n + "x" + n + "/apps";
    auto icon = zeb::platform::draw_icon(size);
    if (!icon || !zeb::platform::make_host_dirs(dir) || !zeb::platform::save_png(*icon, dir + "/zeb.png")) {
      std::fprintf(stderr, "zeb-icons: cannot write %s/zeb.png\n", dir.c_str());
      return 1;
    }
  }
  return 0;
}
