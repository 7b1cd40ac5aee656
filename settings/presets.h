#pragma once
// Setting presets: named sets of ten view settings in .set files of the
// settings folder, listed in the preset box (control 1036).
#include <string>
#include <string_view>

#include "core/viewer.h"

namespace zeb {

enum class PresetMode { load = 0, save = 1, remove = 5 };
// Refills the preset box from the settings folder.
void list_presets(Viewer& v);

// The file name of a preset name: the name itself when it ends exactly in
// ".set" (case counts), else the name with ".set" appended. Empty for names
// that could leave the settings folder or name no file: "", ".", "..",
// names holding "\", "/" or NUL, and names whose file name would exceed the
// host's 255 bytes. Decided from the name alone.
std::u16string preset_file_name(std::u16string_view name);

// Stores the ten fields of a preset file's bytes into the state (no minimum
// for the sizes; the mirror signs are normalised when applied).
void parse_preset(std::string_view bytes, ViewerState& s);
// The preset's ten lines: v_mode from the mode combo's selection, the sizes
// from the texts of the size fields.
std::string format_preset(const ViewerState& s, int mode, std::u16string_view size_x,
                          std::u16string_view size_y);

}  // namespace zeb
