#pragma once
// The signals that ask a running program to end: SIGTERM (a shutdown or a
// logout), SIGHUP (the session or terminal went away) and SIGINT (Ctrl-C).
// The window front end ends on them as a confirmed exit does, with its
// settings written, instead of being killed in the middle of a write.
namespace zeb::platform {

// Installs the handlers; until then the signals keep their defaults.
void watch_end_signals();
// True once one of the signals has arrived.
bool end_signal_received();

}  // namespace zeb::platform
