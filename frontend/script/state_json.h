#pragma once
// The viewer state and single controls as JSON for the script's output.
#include <nlohmann/json.hpp>

#include "core/viewer.h"

namespace zeb::script {
nlohmann::json state_json(const Viewer& v);
// null when there is no control with that id.
nlohmann::json control_json(const Viewer& v, int id);
}  // namespace zeb::script
