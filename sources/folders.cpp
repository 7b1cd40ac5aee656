// Placeholder until folder browsing lands.
#include "sources/folders.h"
namespace zeb {
void open_location(Viewer&) {}
void build_sibling_list(Viewer&) {}
bool folder_has_pages(Viewer&, const std::u16string&, const std::u16string&) { return false; }
void show_folder_menu(Viewer&) {}
void on_folder_list_selchange(Viewer&) {}
void on_folder_list_dblclk(Viewer&) {}
void on_page_list_dblclk(Viewer&) {}
void on_page_list_selchange(Viewer&) {}
bool is_page_name(std::u16string_view) { return false; }
bool is_archive_name(std::u16string_view) { return false; }
std::u16string child_path(const std::u16string& p, const std::u16string& n) { return p + u"\\" + n; }
std::u16string parent_path(const std::u16string& p) { return p; }
}
