#!/usr/bin/env bash
# A reader's place survives a kill: the real window, under a virtual X
# server, opens a book, enters the page view and turns three pages with
# PageDown; once the reader rests, the place reaches the disk by itself (the
# test waits for the configuration to name the fourth page), and the window
# is killed with SIGKILL, as a launcher or a flat battery ends it. The next
# start resumes at the fourth page, and SIGINT ends it with its settings
# written, as SIGTERM and SIGHUP do.
# Arguments: the zeb binary, the sample-library generator and the window
# dump reader (zeb-window-shot).
set -euo pipefail
zeb="$1"
make_library="$2"
shot_tool="${3:-}"

# shellcheck source=lib/common.bash
source "$(dirname "$0")/lib/common.bash"
require Xvfb xdotool xwd
[ -x "$shot_tool" ] || { echo "FAIL: the window dump reader (zeb-window-shot) is needed"; exit 1; }

# The server keeps running when the killed viewer's connection goes.
start_xvfb 800x800x24 -noreset

"$make_library" "$tmp/lib" >/dev/null
settings="$tmp/settings"
cfg="$settings/ZEB_CFG/zeb.cfg"
mkdir -p "$settings"
# The system libraries behind SDL keep allocations past the end of the
# process; the viewer's own code is leak-checked by the other tests.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"

start_zeb() {
  "$zeb" --scale 1 --root "$tmp/lib" --settings "$settings" "$@" >"$tmp/zeb.out" 2>"$tmp/zeb.err" &
  zeb_pid=$!
  wait_for_window
  # Without a window manager the keys go to the window under the pointer.
  xdotool mousemove --window "$window" 240 320
}

# Waits until the window shows the reference dump ($2), read pixel by pixel.
expect_screen() {
  local t0=$SECONDS verdict=""
  while within $t0; do
    xwd -silent -id "$window" >"$tmp/shot.xwd"
    verdict="$("$shot_tool" compare "$tmp/shot.xwd" "$2")" && { echo "ok: $1"; return 0; }
    sleep 0.2
  done
  fail "$1: $verdict"
}

# Waits until the window shows something other than the dump $2, and keeps
# that in $3.
expect_change() {
  local t0=$SECONDS
  while within $t0; do
    xwd -silent -id "$window" >"$tmp/shot.xwd"
    "$shot_tool" compare "$tmp/shot.xwd" "$2" >/dev/null || { cp "$tmp/shot.xwd" "$3"; echo "ok: $1"; return 0; }
    sleep 0.2
  done
  fail "$1: the window still shows the same screen"
}

# Waits until the configuration names the page $1.
expect_saved_page() {
  local t0=$SECONDS
  while within $t0; do
    grep -c "^LastFName=$1" "$cfg" >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  fail "the configuration does not name $1: $(grep LastFName "$cfg" || echo none)"
}

# The book opens in the browser at its first page; Enter shows it.
start_zeb "$tmp/lib/Comics/Sample Book"
xwd -silent -id "$window" >"$tmp/browser.xwd"
xdotool key Return
expect_change "Enter shows the first page" "$tmp/browser.xwd" "$tmp/page1.xwd"
# Three turns with PageDown, each seen on the screen before the next (a key
# asks the next tick for the turn); then the reader rests on the fourth
# page: its place reaches the disk without any exit, and only then does the
# window die.
for n in 2 3 4; do
  xdotool key Next
  expect_change "PageDown shows page $n" "$tmp/page$((n - 1)).xwd" "$tmp/page$n.xwd"
done
expect_saved_page 004.jpg
grep -c "^004.jpg" "$settings/ZEB_CFG/auto_bk.dat" >/dev/null || fail "the history does not name the fourth page"
echo "ok: the fourth page is on disk while the viewer runs"
xwd -silent -id "$window" >"$tmp/page4.xwd"  # at rest: the reference for the next start
kill -9 "$zeb_pid"
wait_for_end SIGKILL
[ "$status" = 137 ] || fail "the killed viewer ended with status $status"

# The next start, with no book named, resumes the book at the fourth page.
start_zeb
xdotool key Return
expect_screen "the next start shows the fourth page" "$tmp/page4.xwd"
compgen -G "$settings/ZEB_CFG/.zeb-save-*" >/dev/null && fail "a temporary file was left in the settings folder"

# SIGINT ends the viewer as a confirmed exit does: with the place at rest,
# only the exit can write the configuration removed here.
rm -f "$cfg"
kill -INT "$zeb_pid"
wait_for_end SIGINT
[ "$status" = 0 ] || fail "SIGINT ended the viewer with status $status"
expect_saved_page 004.jpg
echo "ok: SIGINT ended the viewer with its configuration written"
