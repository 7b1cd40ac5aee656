#include "fuzz/fuzz_support.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "app/controls.h"
#include "app/main_window.h"
#include "app/messages.h"
#include "app/page_steps.h"
#include "app/startup.h"
#include "tools/fixtures/fixtures.h"
#include "view/paint.h"

namespace zeb::fuzz {
namespace {

// Says Yes to every question, so the exit question leads to the save.
class YesHost : public platform::Host {
 public:
  bool message_box(const std::u16string&, const std::u16string&) override { return true; }
  int track_popup_menu(const std::vector<platform::MenuItem>&) override { return 0; }
  bool foreground_window_exists() override { return true; }
};

YesHost yes_host;

std::string make_scratch_dir() {
  namespace fs = std::filesystem;
  std::error_code ec;
  const fs::path shm = "/dev/shm";
  std::string base = fs::is_directory(shm, ec) ? shm.string() : fs::temp_directory_path(ec).string();
  std::string pattern = base + "/zeb-fuzz-XXXXXX";
  if (!mkdtemp(pattern.data())) std::abort();
  fixtures::make_dirs(pattern + "/ZEB_CFG");
  fixtures::write_jpeg(pattern + "/page.jpg", 37, 23, {.number = 1});
  return pattern;
}

void remove_scratch_dir() {
  std::error_code ec;
  std::filesystem::remove_all(scratch_dir(), ec);
}

void clear_settings_folder() {
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(scratch_dir() + "/ZEB_CFG", ec))
    std::filesystem::remove_all(entry.path(), ec);
}

}  // namespace

platform::FilePtr open_bytes(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return platform::FilePtr(std::tmpfile());
  return platform::FilePtr(fmemopen(const_cast<std::uint8_t*>(data), size, "rb"));
}

const std::string& scratch_dir() {
  // Kept alive to the very end: the folder is removed by an exit handler.
  static const std::string* dir = [] {
    auto* made = new std::string(make_scratch_dir());
    std::atexit(remove_scratch_dir);
    return made;
  }();
  return *dir;
}

std::string scratch_path(std::string_view name) { return scratch_dir() + "/" + std::string(name); }
std::string settings_path(std::string_view name) { return scratch_dir() + "/ZEB_CFG/" + std::string(name); }

bool write_scratch_file(const std::string& path, std::string_view bytes) {
  return fixtures::write_file(path, std::string(bytes));
}

FuzzViewer::FuzzViewer() : viewer(platform) {
  platform.host = &yes_host;
  platform.storage = platform::Storage(scratch_dir());
  platform.app_dir_host = scratch_dir();
  create_controls(viewer);
  initialise_main_window(viewer);
}

void view_current_location(Viewer& v) {
  ok_action(v);
  for (int i = 0; i < 3; ++i) timer_tick(v);
  pump(v);
  paint(v);
}

void reset_settings() { clear_settings_folder(); }

void run_session(Viewer& v) {
  view_current_location(v);
  turn_page(v, +1);
  back_and_exit(v);
  timer_tick(v);
  back_and_exit(v);
  timer_tick(v);
}

std::string saved_settings() {
  std::string all;
  for (const char* name : {"zeb.cfg", "key.cfg", "auto_bk.dat"}) {
    all += name;
    all += ":\n";
    all += fixtures::read_file(settings_path(name));
  }
  return all;
}

}  // namespace zeb::fuzz
