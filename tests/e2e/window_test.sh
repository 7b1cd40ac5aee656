#!/usr/bin/env bash
# Drives the real window under a virtual X server with real X events: taps a
# page in the page list, opens it, taps the right edge, turns pages with the
# keys and the wheel, goes back with Escape and answers the exit question,
# checking window dumps on the way. Then the window at other sizes: resized,
# maximised and full screen under a window manager (the screen scaled, the
# same pixels), turned on a landscape display, closed by the window
# manager, and handed a book by a second start.
# Arguments: the zeb binary, the sample-library generator and the window
# dump reader (zeb-window-shot).
set -euo pipefail
zeb="$1"
make_library="$2"
shot_tool="${3:-}"

# shellcheck source=lib/common.bash
source "$(dirname "$0")/lib/common.bash"
require Xvfb xdotool xwd xprop xwininfo openbox wmctrl awk
[ -x "$shot_tool" ] || { echo "FAIL: the window dump reader (zeb-window-shot) is needed"; exit 1; }

# Without a display the viewer says so, names the headless mode and fails.
status=0
env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER ASAN_OPTIONS=detect_leaks=0 \
  timeout 30 "$zeb" --settings "$tmp/no-display" >/dev/null 2>"$tmp/no-display.err" || status=$?
[ "$status" = 2 ] || fail "without a display the viewer ended with status $status, not 2"
grep -q -- "--headless" "$tmp/no-display.err" || fail "without a display: $(cat "$tmp/no-display.err")"
echo "ok: no display is reported with the headless mode"

# A free display of the given size, with the server's key auto-repeat, as
# on a desktop: a held key sends repeated presses until its release. No
# reset when the last client leaves: the test's own short-lived clients
# (xdotool, xwd) come and go.
start_display() { start_xvfb "$1" -noreset; }

start_display 1600x1400x24

"$make_library" "$tmp/lib" >/dev/null
mkdir -p "$tmp/settings"
# The system libraries behind SDL (D-Bus, the GL drivers) keep allocations
# past the end of the process; the viewer's own code is leak-checked by the
# unit and script tests, which run it without SDL.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
# Starts the viewer with the given arguments and waits for its window.
start_zeb() {
  "$zeb" "$@" >"$tmp/zeb.out" 2>"$tmp/zeb.err" &
  zeb_pid=$!
  wait_for_window
  geometry
}

# The window's inside: X, Y, WIDTH, HEIGHT.
geometry() { eval "$(xdotool getwindowgeometry --shell "$window")"; }

start_zeb --scale 1 --root "$tmp/lib" --settings "$tmp/settings" "$tmp/lib/Comics/Sample Book"
[ "$WIDTH" = 480 ] && [ "$HEIGHT" = 640 ] || fail "window is ${WIDTH}x${HEIGHT}, not 480x640"

# Taps at a point of the 480 x 640 screen.
tap() { xdotool mousemove $((X + $1)) $((Y + $2)) click 1; }
double_tap() { xdotool mousemove $((X + $1)) $((Y + $2)) click --repeat 2 --delay 40 1; }

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
  local what="$1" kind="$2" min="$7" n=0 t0=$SECONDS
  while within $t0; do
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
cp "$tmp/shot.xwd" "$tmp/reference.xwd"

# Waits until the window shows the reference screen scaled to its size (and
# turned by $2 degrees); $1 names the case.
expect_scaled() {
  local what="$1" turn="${2:-0}" ref="${3:-$tmp/reference.xwd}" verdict="" t0=$SECONDS
  while within $t0; do
    xwd -silent -id "$window" >"$tmp/scaled.xwd"
    if verdict="$("$shot_tool" compare "$tmp/scaled.xwd" "$ref" "$turn")"; then
      echo "ok: $what: $verdict"
      return 0
    fi
    sleep 0.25
  done
  fail "$what: $verdict"
}

# Resizing scales the screen to the window: a whole factor copies its
# pixels exactly, any other size keeps the aspect and centres it on black.
# (A dump only holds what lies on the display.)
xdotool windowmove "$window" 0 0
xdotool windowsize "$window" 960 1280
expect_scaled "resized to twice the screen"
xdotool windowsize "$window" 1000 700
expect_scaled "resized to a wide window"
xdotool windowsize "$window" 480 640
expect_scaled "back to the screen's size"
geometry

# Tap the second page, then open it with a double tap.
tap 100 244
expect "second page selected" navy 0 230 460 28 8000
double_tap 100 244
expect "page view shows the page" page 0 0 480 640 150000
cp "$tmp/shot.xwd" "$tmp/first.xwd"

# The lower part of the right edge turns to the next page.
tap 470 500
t0=$SECONDS
while within $t0; do
  xwd -silent -id "$window" >"$tmp/shot.xwd"
  cmp -s "$tmp/shot.xwd" "$tmp/first.xwd" || break
  sleep 0.25
done
cmp -s "$tmp/shot.xwd" "$tmp/first.xwd" && fail "the right edge did not turn the page"
expect "next page shown" page 0 0 480 640 150000
cp "$tmp/shot.xwd" "$tmp/third.xwd"

# Waits until the window shows exactly the given dump.
expect_same() {
  local t0=$SECONDS
  while within $t0; do
    xwd -silent -id "$window" >"$tmp/shot.xwd"
    cmp -s "$tmp/shot.xwd" "$2" && { echo "ok: $1"; return 0; }
    sleep 0.25
  done
  fail "$1: the window does not show the expected page"
}

# Waits until the window shows something other than the given dump.
expect_other() {
  local t0=$SECONDS
  while within $t0; do
    xwd -silent -id "$window" >"$tmp/shot.xwd"
    cmp -s "$tmp/shot.xwd" "$2" || { echo "ok: $1"; return 0; }
    sleep 0.25
  done
  fail "$1: the window still shows the same page"
}

# The page keys and the wheel turn pages as the buttons do: End and Home
# show the last and the first page, PageDown and Space the next, PageUp the
# previous, the wheel towards the reader the next and away the previous.
xdotool key End
expect_other "End shows another page" "$tmp/third.xwd"
cp "$tmp/shot.xwd" "$tmp/last.xwd"
xdotool key Home
expect_other "Home shows another page" "$tmp/last.xwd"
cp "$tmp/shot.xwd" "$tmp/home.xwd"
xdotool key Next
expect_same "PageDown shows the second page" "$tmp/first.xwd"
xdotool key space
expect_same "Space shows the third page" "$tmp/third.xwd"
xdotool key Prior
expect_same "PageUp shows the second page" "$tmp/first.xwd"
xdotool key Home
expect_same "Home shows the first page again" "$tmp/home.xwd"
xdotool mousemove $((X + 240)) $((Y + 320)) click 5
expect_same "the wheel towards the reader shows the second page" "$tmp/first.xwd"
xdotool click 5
expect_same "and again the third page" "$tmp/third.xwd"

# Escape leaves the page view: the browser selects the page now shown, the
# third of the list.
xdotool key Escape
expect "back in the browser at the third page" navy 0 258 460 28 8000

# Escape in the browser asks before ending; Enter answers Yes, which saves
# the settings and ends the viewer.
xdotool key Escape
expect "exit question" navy 40 220 400 40 12000
xdotool key Return
expect_end "Yes"
[ -s "$tmp/settings/ZEB_CFG/zeb.cfg" ] || fail "the configuration was not written"
echo "ok: the viewer ended after Yes and wrote its configuration"

# A page named on the command line opens its folder at that page; this
# window is the reference for the hand-over below.
page="$tmp/lib/Comics/Sample Book/004.jpg"
start_zeb --scale 1 --root "$tmp/lib" --settings "$tmp/page-settings" "$page"
expect "the named page shown" page 0 0 480 640 150000
cp "$tmp/shot.xwd" "$tmp/named-page.xwd"
kill -TERM "$zeb_pid"
expect_end "SIGTERM"
[ -s "$tmp/page-settings/ZEB_CFG/zeb.cfg" ] || fail "SIGTERM did not write the configuration"
grep -c "^LastFName=004.jpg" "$tmp/page-settings/ZEB_CFG/zeb.cfg" >/dev/null ||
  fail "the named page is not the one remembered"
echo "ok: SIGTERM ended the viewer with its configuration written"

# Every change a reader makes reaches the window, down to the last step of
# a movement: each is compared with the screen the script front end draws
# after the same steps (exact at scale 1). $1 names the references' folder,
# the other arguments are the script's lines; the script starts on $page,
# or on $ref_location when that is set.
references() {
  local dir="$tmp/$1"
  shift
  mkdir -p "$dir"
  printf '%s\n' "$@" >"$dir/script.zs"
  "$zeb" --headless --root "$tmp/lib" --settings "$dir/settings" --script "$dir/script.zs" "${ref_location:-$page}" \
    >/dev/null 2>"$dir/err" || fail "the reference screens: $(cat "$dir/err")"
}

# The number of the first reference the window shows, 0 for none.
shown() {
  xwd -silent -id "$window" >"$tmp/shot.xwd"
  "$shot_tool" which "$tmp/shot.xwd" "$@" || echo 0
}

# Waits until the window shows the reference.
expect_screen() {
  local t0=$SECONDS
  while within $t0; do
    [ "$(shown "$2")" = 1 ] && { echo "ok: $1"; return 0; }
    sleep 0.1
  done
  fail "$1: $("$shot_tool" compare "$tmp/shot.xwd" "$2")"
}

# Starts a viewer with its own settings folder ($1) on the named page,
# checks that it shows the page as the script front end draws it, and goes
# back to the browser with Escape; the browser's dump is kept for what
# follows.
open_named_page_then_browser() {
  start_zeb --scale 1 --root "$tmp/lib" --settings "$1" "$page"
  expect_screen "$2" "$scroll/start.ppm"
  xdotool key Escape
  expect "Escape shows the browser at the fourth page" navy 0 286 460 28 8000
  cp "$tmp/shot.xwd" "$tmp/browser.xwd"
}

# The named page; the page again after a visit to the settings panel that
# turns smooth scrolling on; the page scrolled to its bottom by a held
# arrow key (smooth scrolling reaches it on the 17th tick and stays there
# while the key is held, the X server's auto-repeat pressing it again and
# again).
scroll="$tmp/scroll"
references scroll "shot $scroll/start.ppm" "key escape press" "tick 3" "tap 120 551" "tick" \
  "tap 230 500" "tap 230 500" "tick" "tap 120 550" "tick" "key enter press" "tick 3" "shot $scroll/top.ppm" \
  "key down down" "tick 17" "shot $scroll/bottom.ppm"
open_named_page_then_browser "$tmp/scroll-settings" "the named page as the script front end draws it"
tap 120 551
expect_other "the settings button shows the settings panel" "$tmp/browser.xwd"
cp "$tmp/shot.xwd" "$tmp/settings-panel.xwd"
# A fresh configuration says "off" as -1: the first tap makes it 0 (still
# off, unchecked), the second checks the box.
tap 230 500
tap 230 500
expect_other "two taps check smooth scrolling" "$tmp/settings-panel.xwd"
tap 120 550
expect "the back button shows the browser again" navy 0 286 460 28 8000
xdotool key Return
expect_screen "Enter shows the page again" "$scroll/top.ppm"
# The window shows the page on its way (neither at the top nor at the
# bottom), then exactly at the bottom.
xdotool keydown Down
between=0 t0=$SECONDS
while within $t0; do
  at="$(shown "$scroll/top.ppm" "$scroll/bottom.ppm")"
  [ "$at" = 0 ] && between=1
  [ "$at" = 2 ] && break
done
xdotool keyup Down
[ "$at" = 2 ] || fail "the held key did not scroll to the bottom of the page"
[ "$between" = 1 ] || fail "the window never showed the page between the top and the bottom"
echo "ok: a held key scrolls the page smoothly, and its last step is shown"
kill -TERM "$zeb_pid"
expect_end "SIGTERM"

# The slide show turns a page every two seconds: the window shows the pages
# after the named one as the script front end draws them.
slides="$tmp/slides"
lines=("key escape press" "tick 3" "tap 40 474" "key enter press" "tick")
following=()
for n in 005 006 007 008 009 010 011 012; do
  lines+=("tick 20" "shot $slides/$n.ppm")
  following+=("$slides/$n.ppm")
done
references slides "${lines[@]}"
open_named_page_then_browser "$tmp/slide-settings" "the named page again"
tap 40 474
expect_other "a tap checks the slide show" "$tmp/browser.xwd"
xdotool key Return
first=0 t0=$SECONDS
while within $t0; do
  at="$(shown "${following[@]}")"
  [ "$first" = 0 ] && first="$at"
  [ "$first" != 0 ] && [ "$at" != 0 ] && [ "$at" != "$first" ] && break
done
[ "$first" != 0 ] && [ "$at" != 0 ] && [ "$at" != "$first" ] ||
  fail "the slide show was not seen turning (pages $first, $at after the fourth)"
echo "ok: the slide show's turns are shown (page $((first + 4)), then page $((at + 4)))"
kill -TERM "$zeb_pid"
expect_end "SIGTERM"

# A double-click on a folder opens that folder, and one on "<..>" goes up
# one level: its second click lands on the list the first click filled anew
# and chooses nothing. A double-click on Comics (row 1 at the library's top)
# is followed by a tap on row 2, away from it: only Comics has Sample Book
# there. A double-click on "<..>" (row 0) in Sample Book is followed by a tap
# on row 3: only Comics has Stored Book.zip there. Events are handled in
# order, so each screen is seen only after the double-click before it. The
# platform's double-click time is made long, so that a loaded machine still
# sees each pair as one double-click.
folders="$tmp/folders"
ref_location="$tmp/lib" references folders "tick 3" "shot $folders/top.ppm" "tap 100 82" "tap 300 110" \
  "tick 3" "shot $folders/sample.ppm" "tap 100 54" "tap 300 138" "tick 3" "shot $folders/stored.ppm"
SDL_MOUSE_DOUBLE_CLICK_TIME=10000 start_zeb --scale 1 --root "$tmp/lib" --settings "$tmp/folder-settings" "$tmp/lib"
expect_screen "the library's top" "$folders/top.ppm"
double_tap 100 82
tap 300 110
expect_screen "a double-click on Comics opened Comics: row 2 is Sample Book" "$folders/sample.ppm"
double_tap 100 54
tap 300 138
expect_screen "a double-click on <..> went up to Comics: row 3 is Stored Book.zip" "$folders/stored.ppm"
kill -TERM "$zeb_pid"
expect_end "SIGTERM"
last_dir="$(tr -d '\r' <"$tmp/folder-settings/ZEB_CFG/zeb.cfg" | sed -n 's/^LastDir=//p')"
[ "$last_dir" = '\Comics\Stored Book.zip' ] || fail "the viewer ended in '$last_dir', not in Stored Book.zip"
echo "ok: the viewer ended in Stored Book.zip"
stop_xvfb

# Under a window manager on a 1280 x 1024 display: the first window fits
# with its frame, maximising scales the screen, a second start hands its
# book over, the close button ends the viewer with its settings written.
start_display 1280x1024x24
openbox >/dev/null 2>&1 &
wm_pid=$!
t0=$SECONDS
while within $t0 && ! wmctrl -m >/dev/null 2>&1; do sleep 0.1; done
mkdir -p "$tmp/wm-settings"
start_zeb --root "$tmp/lib" --settings "$tmp/wm-settings" "$tmp/lib/Comics/Sample Book"
expect_scaled "the first window at the largest size that fits"
# The frame as the window manager reports it (left, right, top, bottom)
# and the inside's place on the display.
frame_fits() {
  frame="$(xprop -id "$window" _NET_FRAME_EXTENTS 2>/dev/null | sed -n 's/.*= //p' | tr -d ' ')"
  top="$(xwininfo -id "$window" | sed -n 's/.*Absolute upper-left Y: *//p')"
  geometry
  [ -n "$frame" ] && [ $((top - $(echo "$frame" | cut -d, -f3))) -ge 0 ] &&
    [ $((top + HEIGHT + ${frame##*,})) -le 1024 ]
}
t0=$SECONDS
while within $t0 && ! frame_fits; do sleep 0.25; done
frame_fits || fail "the window's frame ($frame) reaches past the display: inside at $top, height $HEIGHT"
[ "$HEIGHT" -ge 960 ] || fail "the first window is only $HEIGHT pixels high on a 1024-line display"
echo "ok: the first window is ${WIDTH}x${HEIGHT} and its frame stays on the display"

wmctrl -r ZEB -b add,maximized_vert,maximized_horz
expect_scaled "maximised"
xdotool key F11
t0=$SECONDS
while within $t0; do geometry; [ "$WIDTH" = 1280 ] && [ "$HEIGHT" = 1024 ] && break; sleep 0.25; done
[ "$WIDTH" = 1280 ] && [ "$HEIGHT" = 1024 ] || fail "F11 gave a window of ${WIDTH}x${HEIGHT}"
expect_scaled "full screen after F11"

status=0
"$zeb" --root "$tmp/lib" --settings "$tmp/wm-settings" "$page" >/dev/null 2>&1 || status=$?
[ "$status" = 0 ] || fail "the second start ended with status $status"
expect_scaled "the second start's page shown by the first" 0 "$tmp/named-page.xwd"

rm -f "$tmp/wm-settings/ZEB_CFG/zeb.cfg"
wmctrl -c ZEB
expect_end "the close button"
[ -s "$tmp/wm-settings/ZEB_CFG/zeb.cfg" ] || fail "the close button did not write the configuration"
echo "ok: the close button ended the viewer with its configuration written"

# --fullscreen fills the display with the screen centred.
start_zeb --fullscreen --root "$tmp/lib" --settings "$tmp/full-settings" "$tmp/lib/Comics/Sample Book"
t0=$SECONDS
while within $t0; do geometry; [ "$WIDTH" = 1280 ] && [ "$HEIGHT" = 1024 ] && break; sleep 0.25; done
[ "$WIDTH" = 1280 ] && [ "$HEIGHT" = 1024 ] || fail "--fullscreen gave a window of ${WIDTH}x${HEIGHT}"
expect_scaled "started full screen"
kill -HUP "$zeb_pid"
expect_end "SIGHUP"
stop_xvfb

# A landscape display of exactly the turned screen, without a window
# manager: --rotate 90 fills it, and a tap at the turned point of the lower
# right edge turns the page.
start_display 640x480x24
start_zeb --rotate 90 --root "$tmp/lib" --settings "$tmp/turn-settings" "$page"
[ "$WIDTH" = 640 ] && [ "$HEIGHT" = 480 ] || fail "the turned window is ${WIDTH}x${HEIGHT}, not 640x480"
expect_scaled "the page turned a quarter" 90 "$tmp/named-page.xwd"
cp "$tmp/scaled.xwd" "$tmp/turned.xwd"
# Screen point (470, 500) stands at (139, 470) after a quarter turn clockwise.
xdotool mousemove $((X + 139)) $((Y + 470)) click 1
expect_other "a tap at the turned point turns the page" "$tmp/turned.xwd"
kill -TERM "$zeb_pid"
expect_end "SIGTERM"
