#!/usr/bin/env bash
# The window as a Linux handheld runs it: a built-in gamepad (SDL's virtual
# joystick, attached by a preloaded library as soon as zeb starts SDL's
# gamepads), no window manager, full screen; and no display server at all
# (SDL's offscreen driver). Checks that the pad costs nothing at rest, that
# short presses and the shoulder buttons turn pages, that full screen shows
# the whole screen, and that the offscreen start ends cleanly on SIGTERM.
# Arguments: the zeb binary, the sample-library generator, the window dump
# reader (zeb-window-shot) and the virtual pad library.
set -euo pipefail
zeb="$1"
make_library="$2"
shot_tool="${3:-}"
pad="${4:-}"

# shellcheck source=lib/common.bash
source "$(dirname "$0")/lib/common.bash"
require Xvfb xdotool xwd awk
[ -x "$shot_tool" ] || { echo "FAIL: the window dump reader (zeb-window-shot) is needed"; exit 1; }
[ -f "$pad" ] || { echo "SKIP: no virtual pad library (built with SDL only)"; exit 0; }

"$make_library" "$tmp/lib" >/dev/null
page="$tmp/lib/Comics/Sample Book/004.jpg"
# SDL's system libraries keep allocations past the end; the preloaded pad
# comes before the sanitizer's runtime in the list of libraries.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0:verify_asan_link_order=0"

# No display server: the offscreen driver runs the window front end, and
# SIGTERM ends it as a confirmed exit does. Nothing asks for X on the way.
SDL_VIDEODRIVER=offscreen env -u DISPLAY -u WAYLAND_DISPLAY \
  "$zeb" --root "$tmp/lib" --settings "$tmp/offscreen" "$page" >/dev/null 2>"$tmp/zeb.err" &
zeb_pid=$!
t0=$SECONDS
# The key bindings are written once the window stands and the viewer started.
while within $t0 && ! [ -s "$tmp/offscreen/ZEB_CFG/key.cfg" ]; do
  kill -0 "$zeb_pid" 2>/dev/null || fail "the offscreen viewer ended by itself"
  sleep 0.2
done
kill -TERM "$zeb_pid"
expect_end "SIGTERM under the offscreen driver"
grep -c "^LastFName=004.jpg" "$tmp/offscreen/ZEB_CFG/zeb.cfg" >/dev/null ||
  fail "the offscreen viewer did not save its page"
[ -s "$tmp/zeb.err" ] && fail "the offscreen viewer complained"
echo "ok: under the offscreen driver the viewer starts, and ends on SIGTERM with its page saved"

# The screens the script front end draws: the named page and the pages the
# page keys turn to.
refs="$tmp/refs"
mkdir -p "$refs"
printf '%s\n' "shot $refs/4.ppm" "key pagedown press" "tick 3" "shot $refs/5.ppm" "key pagedown press" "tick 3" \
  "shot $refs/6.ppm" "key pagedown press" "tick 3" "shot $refs/7.ppm" >"$refs/script.zs"
"$zeb" --headless --root "$tmp/lib" --settings "$refs/settings" --script "$refs/script.zs" "$page" \
  >/dev/null 2>"$refs/err" || fail "the reference screens: $(cat "$refs/err")"

# A display without a window manager, of a size the screen fits unevenly.
start_xvfb 1280x1024x24 -noreset

# Starts the viewer with the pad and waits until its window stands at
# "X Y WIDTH HEIGHT" ($1).
start_zeb() {
  local want="$1"
  shift
  ZEB_PAD_SCRIPT="$tmp/presses" LD_PRELOAD="$pad${LD_PRELOAD:+:$LD_PRELOAD}" \
    "$zeb" "$@" >/dev/null 2>"$tmp/zeb.err" &
  zeb_pid=$!
  wait_for_geometry "$want"
}
# Waits until the viewer's window stands at "X Y WIDTH HEIGHT".
wait_for_geometry() {
  local t0=$SECONDS
  while within $t0; do
    kill -0 "$zeb_pid" 2>/dev/null || fail "the viewer ended before its window appeared"
    X="" Y="" WIDTH="" HEIGHT=""
    window="$(xdotool search --onlyvisible --name '^ZEB$' 2>/dev/null | tail -n1 || true)"
    [ -n "$window" ] && eval "$(xdotool getwindowgeometry --shell "$window" 2>/dev/null || true)"
    [ "$X $Y $WIDTH $HEIGHT" = "$1" ] && { echo "ok: the window stands at $1"; return 0; }
    sleep 0.2
  done
  fail "the window stands at $X $Y $WIDTH $HEIGHT, not at $1"
}

# Waits until the window shows the reference screen (turned by $3 degrees).
expect_screen() {
  local verdict="" t0=$SECONDS
  while within $t0; do
    xwd -silent -id "$window" >"$tmp/shot.xwd"
    verdict="$("$shot_tool" compare "$tmp/shot.xwd" "$2" "${3:-0}")" && { echo "ok: $1: $verdict"; return 0; }
    sleep 0.2
  done
  fail "$1: $verdict"
}

# Presses the pad's buttons: lines "BUTTON DOWN_MS UP_MS".
press() {
  printf '%s\n' "$@" >"$tmp/presses"
  kill -USR1 "$zeb_pid"
}

# Scheduler ticks of CPU time, and context switches of all threads.
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$zeb_pid/stat"; }
switches() { cat /proc/"$zeb_pid"/task/*/status | awk '/ctxt_switches/ { n += $2 } END { print n + 0 }'; }

start_zeb "0 0 1280 1024" --fullscreen --root "$tmp/lib" --settings "$tmp/settings" "$page"
expect_screen "full screen without a window manager shows the whole screen" "$refs/4.ppm"

# At rest the pad costs nothing: the timer's ten wake-ups a second, a few
# ticks of CPU. A pad polled every millisecond costs thousands of wake-ups
# and some thirty ticks in 10 s.
sleep 2
ticks0=$(cpu_ticks) switches0=$(switches)
sleep 10
ticks=$(($(cpu_ticks) - ticks0)) woken=$(($(switches) - switches0))
[ "$woken" -le 500 ] || fail "at rest with a pad the viewer was woken $woken times in 10 s"
[ "$ticks" -le 15 ] || fail "at rest with a pad the viewer took $ticks ticks of CPU in 10 s"
echo "ok: at rest with a pad: $ticks ticks of CPU and $woken wake-ups in 10 s"

# A 30 ms press, then two presses 50 ms apart, all turn pages; the left
# shoulder turns back as PageUp does.
press "rightshoulder 0 30"
expect_screen "a 30 ms press of the right shoulder turns to the next page" "$refs/5.ppm"
press "rightshoulder 0 20" "rightshoulder 50 70"
expect_screen "two presses 50 ms apart turn two pages" "$refs/7.ppm"
press "leftshoulder 0 30"
expect_screen "the left shoulder turns back a page" "$refs/6.ppm"

# F11 returns to the window the viewer opened (the largest that fits,
# centred), and back to full screen.
xdotool mousemove 640 512
xdotool key F11
wait_for_geometry "256 0 768 1024"
expect_screen "the window after F11" "$refs/6.ppm"
xdotool key F11
wait_for_geometry "0 0 1280 1024"
expect_screen "full screen again after F11" "$refs/6.ppm"
kill -TERM "$zeb_pid"
expect_end "SIGTERM"
grep -c "^LastFName=006.jpg" "$tmp/settings/ZEB_CFG/zeb.cfg" >/dev/null || fail "the page the pad turned to was not saved"
echo "ok: SIGTERM saved the page the pad turned to"

# Turned for a landscape panel, full screen fills the display the same way.
start_zeb "0 0 1280 1024" --fullscreen --rotate 90 --root "$tmp/lib" --settings "$tmp/turned" "$page"
expect_screen "turned full screen without a window manager" "$refs/4.ppm" 90
kill -TERM "$zeb_pid"
expect_end "SIGTERM"
