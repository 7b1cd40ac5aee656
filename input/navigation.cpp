// Placeholder until navigation lands.
#include "input/navigation.h"
namespace zeb {
void turn_page(Viewer&, int) {}
void update_status(Viewer&) {}
void next_sibling(Viewer&) {}
void previous_sibling(Viewer&) {}
void change_location(Viewer&, const std::u16string&) {}
void dispatch_menu_command(Viewer&, int) {}
std::u16string status_text(const Viewer&, int) { return {}; }
std::u16string page_path(const Viewer&, int) { return {}; }
int load_current_page(Viewer&) { return -1; }
void on_slider_scroll(Viewer&) {}
void run_delayed_jump(Viewer&) {}
}
