#include "host/end_signals.h"

#include <signal.h>

#include <initializer_list>

namespace zeb::platform {
namespace {

volatile sig_atomic_t g_end_requested = 0;

void note_end(int) { g_end_requested = 1; }

}  // namespace

void watch_end_signals() {
  struct sigaction action {};
  action.sa_handler = note_end;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (int signal_number : {SIGTERM, SIGHUP, SIGINT}) sigaction(signal_number, &action, nullptr);
}

bool end_signal_received() { return g_end_requested != 0; }

}  // namespace zeb::platform
