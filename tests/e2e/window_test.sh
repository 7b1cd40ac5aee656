#!/usr/bin/env bash
# Drives the real window under a virtual X server with real X events: taps a
# page in the page list, opens it, taps the right edge, goes back with
# Escape and answers the exit question, checking window dumps on the way.
# Arguments: the zeb binary and the sample-library generator.
set -euo pipefail
zeb="$1"
make_library="$2"

for tool in Xvfb xdotool; do
  if ! command -v "$tool" >/dev/null; then
    echo "SKIP: $tool is not installed (the set-up installs xvfb and xdotool)"
    exit 0
  fi
done
command -v xwd >/dev/null || { echo "FAIL: xwd (x11-apps) is needed for the window dumps"; exit 1; }

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

# Without a display the viewer says so, names the headless mode and fails.
status=0
env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER ASAN_OPTIONS=detect_leaks=0 \
  timeout 30 "$zeb" --settings "$tmp/no-display" >/dev/null 2>"$tmp/no-display.err" || status=$?
[ "$status" = 2 ] || fail "without a display the viewer ended with status $status, not 2"
grep -q -- "--headless" "$tmp/no-display.err" || fail "without a display: $(cat "$tmp/no-display.err")"
echo "ok: no display is reported with the headless mode"

# A free display: the server picks the number and writes it to fd 3.
Xvfb -displayfd 3 -screen 0 800x700x24 -nolisten tcp 3>"$tmp/display" 2>"$tmp/xvfb.err" &
xvfb_pid=$!
for _ in $(seq 50); do [ -s "$tmp/display" ] && break; sleep 0.1; done
[ -s "$tmp/display" ] || fail "Xvfb did not start: $(cat "$tmp/xvfb.err")"
export DISPLAY=":$(head -n1 "$tmp/display")"

"$make_library" "$tmp/lib" >/dev/null
mkdir -p "$tmp/settings"
# The system libraries behind SDL (D-Bus, the GL drivers) keep allocations
# past the end of the process; the viewer's own code is leak-checked by the
# unit and script tests, which run it without SDL.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
"$zeb" --scale 1 --root "$tmp/lib" --settings "$tmp/settings" "$tmp/lib/Comics/Sample Book" \
  >"$tmp/zeb.out" 2>"$tmp/zeb.err" &
zeb_pid=$!

window=""
for _ in $(seq 150); do
  window="$(xdotool search --name '^ZEB$' 2>/dev/null | head -n1 || true)"
  [ -n "$window" ] && break
  kill -0 "$zeb_pid" 2>/dev/null || fail "the viewer ended before its window appeared"
  sleep 0.2
done
[ -n "$window" ] || fail "no window titled ZEB"
eval "$(xdotool getwindowgeometry --shell "$window")"  # X, Y, WIDTH, HEIGHT
[ "$WIDTH" = 480 ] && [ "$HEIGHT" = 640 ] || fail "window is ${WIDTH}x${HEIGHT}, not 480x640"

# Taps at a point of the 480 x 640 screen.
tap() { xdotool mousemove $((X + $1)) $((Y + $2)) click 1; }
double_tap() { xdotool mousemove $((X + $1)) $((Y + $2)) click --repeat 2 --delay 120 1; }

# Counts the pixels of a kind (white, dark, navy, page) in the rectangle
# X Y W H of a window dump (32 bits per pixel, either byte order).
count() {
  local dump="$1" kind="$2" rx="$3" ry="$4" rw="$5" rh="$6"
  local -a h
  read -r -a h <<<"$(od -An -v -tu4 --endian=big -N100 "$dump" | tr -s ' \n' '  ')"
  local header=${h[0]} bpp=${h[11]} bpl=${h[12]} ncolors=${h[19]} lsb=$((h[7] == 0))
  [ "$bpp" = 32 ] || fail "unexpected dump with $bpp bits per pixel"
  od -An -v -tu1 -w4 -j $((header + 12 * ncolors + ry * bpl)) -N $((rh * bpl)) "$dump" |
    awk -v per_row=$((bpl / 4)) -v x0="$rx" -v w="$rw" -v lsb="$lsb" -v kind="$kind" '
      { col = (NR - 1) % per_row; if (col < x0 || col >= x0 + w) next
        if (lsb) { b = $1; g = $2; r = $3 } else { r = $2; g = $3; b = $4 }
        white = r > 245 && g > 245 && b > 245
        if (kind == "white" && white) n++
        else if (kind == "dark" && r < 60 && g < 60 && b < 60) n++
        else if (kind == "navy" && b > 120 && r < 40 && g < 100) n++
        else if (kind == "page" && !white && (r > 60 || g > 60 || b > 60)) n++ }
      END { print n + 0 }'
}

# Waits until the window shows at least MIN pixels of the kind in the
# rectangle; the last dump stays in $tmp/shot.xwd.
expect() {
  local what="$1" kind="$2" min="$7" n=0
  for _ in $(seq 40); do
    xwd -silent -id "$window" >"$tmp/shot.xwd"
    n="$(count "$tmp/shot.xwd" "$kind" "$3" "$4" "$5" "$6")"
    [ "$n" -ge "$min" ] && { echo "ok: $what ($n $kind pixels)"; return 0; }
    sleep 0.25
  done
  fail "$what: $n $kind pixels in ($3,$4,$5,$6), wanted at least $min"
}

# The browser: the page list (0, 202, 480, 160) highlights the remembered
# first page; the folder list above it is a white field.
expect "browser page list with a selection" navy 0 202 460 28 8000
expect "browser folder list" white 10 90 400 60 20000

# Tap the second page, then open it with a double tap.
tap 100 244
expect "second page selected" navy 0 230 460 28 8000
double_tap 100 244
expect "page view shows the page" page 0 0 480 640 150000
cp "$tmp/shot.xwd" "$tmp/first.xwd"

# The lower part of the right edge turns to the next page.
tap 470 500
for _ in $(seq 40); do
  xwd -silent -id "$window" >"$tmp/shot.xwd"
  cmp -s "$tmp/shot.xwd" "$tmp/first.xwd" || break
  sleep 0.25
done
cmp -s "$tmp/shot.xwd" "$tmp/first.xwd" && fail "the right edge did not turn the page"
expect "next page shown" page 0 0 480 640 150000

# Escape leaves the page view: the browser selects the page now shown, the
# third of the list.
xdotool key Escape
expect "back in the browser at the third page" navy 0 258 460 28 8000

# Escape in the browser asks before ending; Enter answers Yes, which saves
# the settings and ends the viewer.
xdotool key Escape
expect "exit question" navy 40 220 400 40 12000
xdotool key Return
status=0
for _ in $(seq 100); do kill -0 "$zeb_pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$zeb_pid" 2>/dev/null && fail "the viewer did not end after Yes"
wait "$zeb_pid" || status=$?
zeb_pid=""
[ "$status" = 0 ] || fail "the viewer ended with status $status"
[ -s "$tmp/settings/ZEB_CFG/zeb.cfg" ] || fail "the configuration was not written"
echo "ok: the viewer ended after Yes and wrote its configuration"
