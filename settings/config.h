#pragma once
// The configuration file zeb.cfg: 23 "key=value" lines read by position.
#include <optional>
#include <string>
#include <string_view>

#include "core/viewer.h"

namespace zeb {

// Load at start-up: reads the file, or writes it with the current (default)
// values when it is missing; a file that exists but cannot be read is left
// alone and the defaults hold. Then brings the controls in line. Returns the
// bytes the file holds now (those read, or those written), or nullopt when
// that is not known (unreadable, or not written).
std::optional<std::string> read_configuration(Viewer& v);
// The bytes a save writes at this moment: the state's fields and the texts
// and choice of the controls the file takes them from. Reads only.
std::string configuration_bytes(const Viewer& v);
// Save at the confirmed exit (configuration_bytes written in place of the
// file), then bring the controls in line. Returns whether the file holds
// them (a failed write leaves the old file whole).
bool write_configuration(Viewer& v);
void apply_configuration_to_controls(Viewer& v);

// The lines the file takes from controls rather than from the state: the
// mode combo's selection and the texts of the size x, size y and wait fields.
struct ConfigControlValues {
  int mode = 0;
  std::u16string size_x, size_y, wait;
};

// Stores the fields of a configuration file's bytes into the state with the
// reading rules (Text1/Text2 at least 16, MAX_SP at least 1); the sign rules
// of lr_mir, ud_mir and SC_MODE are applied with the controls.
void parse_configuration(std::string_view bytes, ViewerState& s);
// The file's 23 lines, each ended by CR LF: CP932, or UTF-8 behind its byte
// order mark when a value does not fit CP932. A file read starts with that
// mark when it is UTF-8.
std::string format_configuration(const ViewerState& s, const ConfigControlValues& c);

// Mirror signs are +1 only when exactly 1; anything else mirrors (-1).
void normalise_mirror_signs(ViewerState& s);

}  // namespace zeb
