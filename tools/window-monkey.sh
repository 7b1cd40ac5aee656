#!/usr/bin/env bash
# Random real X input against the window: taps, drags, double taps and keys
# at random places of a viewer on a virtual X server, for SECONDS seconds.
# The viewer is started again whenever the input makes it exit (the exit
# question answered, the quit button). Meant for the sanitizer build, which
# stops at the first memory error or undefined behaviour; any report fails
# the run.
#   tools/window-monkey.sh [SECONDS] [ZEB] [ZEB_SAMPLE_LIBRARY]
set -uo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
seconds="${1:-300}"
zeb="${2:-$here/build/test/zeb}"
make_library="${3:-$here/build/test/zeb-sample-library}"
source "$here/tools/require.sh"
require Xvfb xdotool

work="$(mktemp -d)"
xvfb_pid=""
trap '[ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null; rm -rf "$work"' EXIT
"$make_library" "$work/lib" >/dev/null
mkdir -p "$work/settings"
Xvfb -displayfd 3 -screen 0 800x700x24 -nolisten tcp -noreset 3>"$work/display" 2>/dev/null &
xvfb_pid=$!
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(head -n1 "$work/display")"
# SDL's system libraries keep allocations past the end of the process.
export ASAN_OPTIONS=detect_leaks=0:halt_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

keys=(Left Right Up Down Return Escape space 0 1 5 9 BackSpace Tab F1 F2 Prior Next Home End a z plus minus Delete)
random_point() { echo $((RANDOM % 480)) $((RANDOM % 640)); }

# One random action on window $1.
act() {
  local w=$1
  case $((RANDOM % 6)) in
    0|1|2) xdotool mousemove --window "$w" $(random_point) click 1 ;;
    3) xdotool mousemove --window "$w" $(random_point) mousedown 1 sleep 0.$((RANDOM % 9)) \
         mousemove --window "$w" $(random_point) mouseup 1 ;;
    4) xdotool key "${keys[$((RANDOM % ${#keys[@]}))]}" ;;
    5) xdotool mousemove --window "$w" $(random_point) click --repeat 2 1 ;;
  esac 2>/dev/null
}

end=$((SECONDS + seconds))
runs=0
actions=0
while [ $SECONDS -lt $end ]; do
  runs=$((runs + 1))
  "$zeb" --scale 1 --root "$work/lib" --settings "$work/settings" "$work/lib/Comics" \
    >/dev/null 2>"$work/err" &
  pid=$!
  window=""
  for _ in $(seq 100); do
    window=$(xdotool search --pid "$pid" 2>/dev/null | head -n1)
    [ -n "$window" ] && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  while [ -n "$window" ] && [ $SECONDS -lt $end ] && kill -0 "$pid" 2>/dev/null; do
    act "$window"
    actions=$((actions + 1))
  done
  kill "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null
  status=$?
  # 143: ended by the kill above; any other signal is a crash.
  if [ $status -gt 128 ] && [ $status -ne 143 ]; then
    echo "run $runs: the viewer ended by signal $((status - 128))"
    cat "$work/err"
    exit 1
  fi
  if grep -qE "AddressSanitizer|runtime error|LeakSanitizer" "$work/err"; then
    echo "run $runs: sanitizer report"
    cat "$work/err"
    exit 1
  fi
done
echo "$runs viewer runs, $actions random actions, no sanitizer report"
