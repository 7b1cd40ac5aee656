// Script parser: the input is a script, one command a line. Every line must
// parse into one of the protocol's commands or be refused with a reason.
// Parsed commands then run against a started viewer, except those that
// write files or could run for an unbounded time.
#include <cstdlib>
#include <set>
#include <sstream>

#include "frontend/script/commands.h"
#include "frontend/script/script_host.h"
#include "fuzz/fuzz_support.h"

namespace {

constexpr long long kMaxTicks = 20;  // ticks one command may ask for here
constexpr int kMaxLines = 32;

const std::set<std::string> kCommands = {
    "tick", "down",   "move",   "up",     "tap",   "key",        "ok",    "cancel",
    "click", "dblclick", "select", "text", "type", "slider",     "command", "answer",
    "menu", "foreground", "paint", "shot", "state", "control",   "quit"};

bool runnable(const zeb::script::Command& c) {
  if (c.name == "shot") return false;
  if (c.name == "tick" && !c.numbers.empty() && c.numbers[0] > kMaxTicks) return false;
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::istringstream script(std::string(reinterpret_cast<const char*>(data), size));
  std::vector<zeb::script::Command> commands;
  std::string line;
  for (int n = 0; n < kMaxLines && std::getline(script, line); ++n) {
    std::string why;
    const auto command = zeb::script::parse_command(line, why);
    if (!command) {
      if (why.empty()) std::abort();  // a refused line must say why
      continue;
    }
    if (!kCommands.count(command->name) || command->numbers.size() > 2) std::abort();
    if (runnable(*command)) commands.push_back(*command);
  }
  if (commands.empty()) return 0;

  zeb::fuzz::reset_settings();
  std::ostringstream out, err;
  zeb::script::ScriptHost host(out);
  zeb::fuzz::FuzzViewer fv;
  fv.platform.host = &host;
  zeb::script::Session session{fv.viewer, host, out, err};
  for (const auto& command : commands)
    if (!zeb::script::run_command(session, command)) break;
  return 0;
}
