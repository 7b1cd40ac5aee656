// Placeholder until the configuration file lands.
#include "settings/config.h"
namespace zeb {
void read_configuration(Viewer&) {}
void write_configuration(Viewer&) {}
void apply_configuration_to_controls(Viewer&) {}
}
