#!/usr/bin/env bash
# The viewer as a kiosk's only client: an X server that resets whenever its
# last client leaves (no -noreset, as under xinit). Its start-up probe, a
# child that opens a hidden OpenGL window and ends, must not leave the
# server without clients, and a start that meets a reset (the one the
# previous viewer's end caused, or the one after this test's own check)
# must still get its window: 30 starts in a row each show one, then end by
# SIGTERM. A named display that cannot be had is reported as such.
# Arguments: the zeb binary (the others the script tests get are not used).
set -euo pipefail
zeb="$1"
# shellcheck source=lib/common.bash
source "$(dirname "$0")/lib/common.bash"
require Xvfb xdotool

starts="${ZEB_KIOSK_STARTS:-30}"

# An empty storage root: the browser shows it, which is all a start needs.
mkdir -p "$tmp/lib" "$tmp/settings"
# The system libraries behind SDL keep allocations past the end of the
# process; the viewer's own code is leak-checked by the other tests.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
unset WAYLAND_DISPLAY SDL_VIDEODRIVER

start_xvfb 800x700x24

# Starts the viewer and waits for its window. The check is a client of its
# own: a server reset may drop it too, so a failed check is just tried again.
start_and_see_window() {
  "$zeb" --scale 1 --root "$tmp/lib" --settings "$tmp/settings" >/dev/null 2>"$tmp/zeb.err" &
  zeb_pid=$!
  local t0=$SECONDS
  while within $t0; do
    kill -0 "$zeb_pid" 2>/dev/null || fail "start $1: the viewer ended without a window"
    timeout 30 xdotool search --onlyvisible --pid "$zeb_pid" --name '^ZEB$' >/dev/null 2>&1 && return 0
    sleep 0.2
  done
  fail "start $1: no window after $patience s"
}

for ((n = 1; n <= starts; n++)); do
  start_and_see_window "$n"
  kill -TERM "$zeb_pid"
  status=0
  wait "$zeb_pid" || status=$?
  zeb_pid=""
  [ "$status" = 0 ] || fail "start $n: the viewer ended with status $status after SIGTERM"
  [ $((n % 5)) = 0 ] && echo "ok: $n of $starts starts showed a window"
done
stop_xvfb

# A display named but not to be had (a screen the server does not have) is
# reported with its name, after the tries a reset would have outlasted.
start_xvfb 800x700x24 -noreset
export DISPLAY="$DISPLAY.7"
status=0
timeout "$patience" "$zeb" --root "$tmp/lib" --settings "$tmp/settings" >/dev/null 2>"$tmp/zeb.err" || status=$?
[ "$status" = 2 ] || fail "on a display without that screen the viewer ended with status $status, not 2"
grep -F "the display $DISPLAY dropped the connection" "$tmp/zeb.err" >/dev/null ||
  fail "the unavailable display $DISPLAY is not named"
echo "ok: a named display that cannot be had is named in the error"
