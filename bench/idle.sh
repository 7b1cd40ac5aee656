#!/usr/bin/env bash
# What the window costs while nobody touches it: CPU time (scheduler ticks),
# wake-ups (context switches of all its threads) and resident size of the
# real window under Xvfb over 10 s of idle, in the browser, in the page view
# with a page shown, and with the view panel open; each without and with a
# gamepad (SDL's virtual joystick, attached by tests/e2e/virtual_pad.cpp,
# which this script builds and preloads).
# Idle starts once the viewer has settled (its start-up, the shown page's
# decode and any read-ahead behind it): that work is reported on its own
# line, not in the idle figures.
#
#   bash bench/idle.sh [ZEB] [SAMPLE_LIBRARY_GENERATOR]   (default build/release)
#
# Each case runs the viewer as it chooses its renderer, then with a pad,
# then with a pad that SDL updates itself (SDL_AUTO_UPDATE_JOYSTICKS=1, the
# viewer's loop before it read the pads at its ticks), then with
# --renderer software and --renderer accelerated. IDLE_BEFORE names another
# zeb binary (an older build) measured first in each case, in the same run.
# IDLE_SECONDS sets the measured time (default 10); extra arguments for the
# viewer come from IDLE_ARGS.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
zeb=${1:-$here/build/release/zeb}
before=${IDLE_BEFORE:-}
make_library=${2:-$here/build/release/zeb-sample-library}
seconds=${IDLE_SECONDS:-10}
read -r -a extra <<<"${IDLE_ARGS:-}"
# The temporary folder, its cleanup and the X server come from the
# end-to-end scripts' library.
source "$here/tests/e2e/lib/common.bash"
require Xvfb xdotool awk
start_xvfb 1280x1024x24 -noreset
"$make_library" "$tmp/lib" >/dev/null
pad="$tmp/virtual_pad.so"
# shellcheck disable=SC2046  # pkg-config's words are separate flags
c++ -std=c++20 -O2 -shared -fPIC -o "$pad" "$here/tests/e2e/virtual_pad.cpp" $(pkg-config --cflags --libs sdl2) -ldl
book="$tmp/lib/Comics/Sample Book"
page="$book/$(ls "$book" | grep -i '\.jpg$' | sort | head -n1)"

# User plus system time of the process, in scheduler ticks.
ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }
rss_kib() { awk '/^VmRSS/ { print $2 }' "/proc/$1/status"; }

# Waits until the start-up work is over: a second without CPU time, or two
# seconds in a row that cost the same (a steady idle cost); at most 15 s.
# Prints the ticks spent until then.
settle() {
  local start last now step previous=-100
  start=$(ticks "$zeb_pid")
  last=$start
  for _ in $(seq 15); do
    sleep 1
    now=$(ticks "$zeb_pid")
    step=$((now - last))
    [ "$step" -le 1 ] && break
    [ $((step - previous)) -le 1 ] && [ $((previous - step)) -le 1 ] && break
    previous=$step
    last=$now
  done
  echo $((now - start))
}

threads() { awk '/^Threads/ { print $2 }' "/proc/$1/status"; }
# Voluntary and involuntary context switches of all the process's threads.
switches() { cat /proc/"$1"/task/*/status | awk '/ctxt_switches/ { n += $2 } END { print n + 0 }'; }

measure() {
  local what="$1" settled t0 t1
  settled=$(settle)
  printf '%-44s settling (start-up, page decode, read-ahead) took %d ticks\n' "$what" "$settled"
  local s0 s1
  t0=$(ticks "$zeb_pid") s0=$(switches "$zeb_pid")
  sleep "$seconds"
  t1=$(ticks "$zeb_pid") s1=$(switches "$zeb_pid")
  local spent=$((t1 - t0))
  printf '%-44s idle %3d ticks in %ss = %5.2f %% of a core, %5.1f wake-ups/s, resident %6d KiB, %d threads\n' \
    "$what" "$spent" "$seconds" "$(echo "$spent $seconds" | awk '{ printf "%.2f", $1 / $2 }')" \
    "$(echo "$((s1 - s0)) $seconds" | awk '{ printf "%.1f", $1 / $2 }')" "$(rss_kib "$zeb_pid")" "$(threads "$zeb_pid")"
}

# run_case WHAT BINARY [VIEWER ARGUMENTS...]
run_case() {
  local what="$1" program="$2"; shift 2
  local -a environment=(-u SDL_AUTO_UPDATE_JOYSTICKS)
  [[ "$what" == *"with a pad"* ]] && environment+=(LD_PRELOAD="$pad")
  # SDL's environment variable overrides the viewer's hint: SDL updates the
  # pad itself, as the viewer let it before.
  [[ "$what" == *"SDL updating it"* ]] && environment+=(SDL_AUTO_UPDATE_JOYSTICKS=1)
  rm -rf "$tmp/settings"
  env "${environment[@]}" "$program" "${extra[@]}" --root "$tmp/lib" --settings "$tmp/settings" "$@" >/dev/null 2>"$tmp/zeb.err" &
  zeb_pid=$!
  for _ in $(seq 100); do xdotool search --onlyvisible --name '^ZEB$' >/dev/null 2>&1 && break; sleep 0.1; done
  if [[ "$what" == "view panel open"* ]]; then
    sleep 2
    eval "$(xdotool getwindowgeometry --shell "$(xdotool search --onlyvisible --name '^ZEB$' | tail -n1)")"
    # The bottom middle of the screen opens the view panel; the window
    # shows the screen at scale 1 here.
    xdotool mousemove $((X + 240)) $((Y + 600)) click 1
  fi
  if ! kill -0 "$zeb_pid" 2>/dev/null; then
    echo "$what: the viewer ended before it was measured: $(cat "$tmp/zeb.err")"
    zeb_pid=""
    return
  fi
  measure "$what"
  kill "$zeb_pid"
  wait "$zeb_pid" 2>/dev/null || true
  zeb_pid=""
}

echo "idle under Xvfb 1280x1024, $(nproc) cores, $(getconf CLK_TCK) ticks a second, load average $(cut -d' ' -f1-3 /proc/loadavg)"
for case in "browser" "page view" "view panel open"; do
  location="$page"
  [ "$case" = browser ] && location="$book"
  [ -n "$before" ] && run_case "$case, before" "$before" --scale 1 "$location"
  [ -n "$before" ] && run_case "$case, before, with a pad" "$before" --scale 1 "$location"
  run_case "$case" "$zeb" --scale 1 "$location"
  run_case "$case, with a pad" "$zeb" --scale 1 "$location"
  run_case "$case, with a pad, SDL updating it" "$zeb" --scale 1 "$location"
  run_case "$case, --renderer software" "$zeb" --renderer software --scale 1 "$location"
  run_case "$case, --renderer accelerated" "$zeb" --renderer accelerated --scale 1 "$location"
done
echo "load average at the end $(cut -d' ' -f1-3 /proc/loadavg)"
