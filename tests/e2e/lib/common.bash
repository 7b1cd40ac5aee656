# Sourced by the end-to-end scripts that run the real window: a temporary
# folder ($tmp) removed at the end with whatever the script started (the
# viewer $zeb_pid, a window manager $wm_pid, the X server $xvfb_pid), fail(),
# the bounded waits, and a virtual X server on a free display.
# shellcheck shell=bash

# shellcheck source=../../../tools/require.sh
source "$(dirname "${BASH_SOURCE[0]}")/../../../tools/require.sh"

# Every wait polls until what it waits for is seen, for at most $patience
# seconds: a bound for a loaded machine, never an expected time.
patience="${ZEB_E2E_PATIENCE:-90}"
# True while a wait that began at $1 (a value of SECONDS) may go on.
within() { [ $((SECONDS - $1)) -lt "$patience" ]; }

tmp="$(mktemp -d)"
xvfb_pid="" zeb_pid="" wm_pid=""
# A viewer still running at the end is killed outright: nothing it would
# write is wanted once the folder goes.
cleanup() {
  [ -n "$zeb_pid" ] && kill -9 "$zeb_pid" 2>/dev/null || true
  [ -n "$wm_pid" ] && kill "$wm_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$tmp"
}
trap cleanup EXIT

# Ends the script as failed, with what the viewer said.
fail() {
  echo "FAIL: $*"
  [ -f "$tmp/zeb.err" ] && sed 's/^/zeb: /' "$tmp/zeb.err"
  exit 1
}

# Starts a virtual X server with one screen of the size $1 ("WxHxDEPTH")
# and the further Xvfb options given, on a free display: the server picks
# the number and writes it to fd 3. Sets DISPLAY.
start_xvfb() {
  require Xvfb
  local size="$1"
  shift
  rm -f "$tmp/display"
  Xvfb -displayfd 3 -screen 0 "$size" -nolisten tcp "$@" 3>"$tmp/display" 2>"$tmp/xvfb.err" &
  xvfb_pid=$!
  local t0=$SECONDS
  while within $t0 && ! [ -s "$tmp/display" ]; do sleep 0.1; done
  [ -s "$tmp/display" ] || fail "Xvfb did not start: $(cat "$tmp/xvfb.err")"
  export DISPLAY=":$(head -n1 "$tmp/display")"
}

# Stops the window manager, if one runs, and the X server.
stop_xvfb() {
  [ -n "$wm_pid" ] && kill "$wm_pid" 2>/dev/null || true
  [ -n "$wm_pid" ] && wait "$wm_pid" 2>/dev/null || true
  wm_pid=""
  kill "$xvfb_pid" 2>/dev/null || true
  wait "$xvfb_pid" 2>/dev/null || true
  xvfb_pid=""
}

# Waits until the viewer's window titled ZEB stands and sets $window. SDL
# may replace its first window when it sets up drawing: the wait is for one
# that stays.
wait_for_window() {
  require xdotool
  window=""
  local t0=$SECONDS
  while within $t0; do
    window="$(xdotool search --onlyvisible --name '^ZEB$' 2>/dev/null | tail -n1 || true)"
    [ -n "$window" ] && xdotool getwindowgeometry "$window" >/dev/null 2>&1 && return 0
    window=""
    kill -0 "$zeb_pid" 2>/dev/null || fail "the viewer ended before its window appeared"
    sleep 0.2
  done
  fail "no window titled ZEB"
}

# Waits for the viewer to end after $1; its exit status is left in $status.
wait_for_end() {
  local t0=$SECONDS
  while within $t0 && kill -0 "$zeb_pid" 2>/dev/null; do sleep 0.1; done
  kill -0 "$zeb_pid" 2>/dev/null && fail "the viewer did not end after $1"
  status=0
  { wait "$zeb_pid"; } 2>/dev/null || status=$?
  zeb_pid=""
}

# Waits for the viewer to end after $1, with status 0.
expect_end() {
  wait_for_end "$1"
  [ "$status" = 0 ] || fail "the viewer ended with status $status after $1"
}
