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
# shellcheck source=../../tools/require.sh
source "$(dirname "$0")/../../tools/require.sh"
require Xvfb xdotool

starts="${ZEB_KIOSK_STARTS:-30}"
# Every wait polls until what it waits for is seen, for at most $patience
# seconds: a bound for a loaded machine, never an expected time.
patience="${ZEB_E2E_PATIENCE:-90}"
tmp="$(mktemp -d)"
xvfb_pid=""
zeb_pid=""
cleanup() {
  [ -n "$zeb_pid" ] && kill "$zeb_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$tmp"
}
trap cleanup EXIT
fail() {
  echo "FAIL: $*"
  [ -f "$tmp/zeb.err" ] && sed 's/^/zeb: /' "$tmp/zeb.err"
  exit 1
}

# An empty storage root: the browser shows it, which is all a start needs.
mkdir -p "$tmp/lib" "$tmp/settings"
# The system libraries behind SDL keep allocations past the end of the
# process; the viewer's own code is leak-checked by the other tests.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
unset WAYLAND_DISPLAY SDL_VIDEODRIVER

Xvfb -displayfd 3 -screen 0 800x700x24 -nolisten tcp 3>"$tmp/display" 2>"$tmp/xvfb.err" &
xvfb_pid=$!
t0=$SECONDS
while [ $((SECONDS - t0)) -lt "$patience" ] && ! [ -s "$tmp/display" ]; do sleep 0.1; done
[ -s "$tmp/display" ] || fail "Xvfb did not start: $(cat "$tmp/xvfb.err")"
display=":$(head -n1 "$tmp/display")"
export DISPLAY="$display"

# Starts the viewer and waits for its window. The check is a client of its
# own: a server reset may drop it too, so a failed check is just tried again.
start_and_see_window() {
  "$zeb" --scale 1 --root "$tmp/lib" --settings "$tmp/settings" >/dev/null 2>"$tmp/zeb.err" &
  zeb_pid=$!
  local t0=$SECONDS
  while [ $((SECONDS - t0)) -lt "$patience" ]; do
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
kill "$xvfb_pid"
wait "$xvfb_pid" 2>/dev/null || true
xvfb_pid=""

# A display named but not to be had (a screen the server does not have) is
# reported with its name, after the tries a reset would have outlasted.
rm -f "$tmp/display"
Xvfb -displayfd 3 -screen 0 800x700x24 -nolisten tcp -noreset 3>"$tmp/display" 2>"$tmp/xvfb.err" &
xvfb_pid=$!
t0=$SECONDS
while [ $((SECONDS - t0)) -lt "$patience" ] && ! [ -s "$tmp/display" ]; do sleep 0.1; done
[ -s "$tmp/display" ] || fail "the second Xvfb did not start: $(cat "$tmp/xvfb.err")"
export DISPLAY=":$(head -n1 "$tmp/display").7"
status=0
timeout "$patience" "$zeb" --root "$tmp/lib" --settings "$tmp/settings" >/dev/null 2>"$tmp/zeb.err" || status=$?
[ "$status" = 2 ] || fail "on a display without that screen the viewer ended with status $status, not 2"
grep -F "the display $DISPLAY dropped the connection" "$tmp/zeb.err" >/dev/null ||
  fail "the unavailable display $DISPLAY is not named"
echo "ok: a named display that cannot be had is named in the error"
