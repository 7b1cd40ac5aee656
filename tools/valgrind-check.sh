#!/usr/bin/env bash
# Runs a representative headless session of the viewer under valgrind and
# fails on any memory error or definite leak: open a folder and an archive,
# turn pages, go through the zoom modes, change settings, save a preset and
# the key bindings, and exit with Yes.
#   tools/valgrind-check.sh [ZEB] [ZEB_SAMPLE_LIBRARY]
# Sanitizer builds do not run under valgrind: when the given program is one
# (or none is given), a plain build is made in build/valgrind first; with
# ZEB_VALGRIND_BUILD=no an existing plain build (build/valgrind or
# build/release) is used instead, and the check is skipped without one.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"

source "$here/tools/require.sh"
require valgrind ldd

zeb="${1:-}"
sample="${2:-}"
# ldd's output is taken whole before it is looked at: piped into a grep that
# quits at the first match, ldd would die of SIGPIPE under pipefail and a
# sanitizer build would pass for a plain one.
uses_asan() {
  local libs
  libs="$(ldd "$1" 2>/dev/null)" || true
  [[ $libs == *libasan* ]]
}
plain() { [ -n "$1" ] && [ -x "$1" ] && ! uses_asan "$1"; }
if ! plain "$zeb" || ! plain "$sample"; then
  build="$here/build/valgrind"
  if [ "${ZEB_VALGRIND_BUILD:-yes}" = no ]; then
    # A plain build of the viewer made earlier serves as well.
    found=""
    for dir in "$build" "$here/build/release"; do
      if plain "$dir/zeb" && plain "$dir/zeb-sample-library"; then found=$dir; break; fi
    done
    if [ -z "$found" ]; then
      echo "no plain (sanitizer-free) build of zeb: check skipped; run tools/valgrind-check.sh to build one"
      exit 0
    fi
    build=$found
  else
    require cmake ninja
    echo "building a plain viewer in $build"
    cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DZEB_TESTS=OFF -DZEB_BENCH=OFF -DZEB_SANITIZE=OFF >/dev/null
    cmake --build "$build" --target zeb zeb-sample-library >/dev/null
  fi
  zeb="$build/zeb"
  sample="$build/zeb-sample-library"
fi
echo "checking $zeb"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
"$sample" "$work/library" >/dev/null
mkdir -p "$work/settings"

run_session() {
  valgrind --quiet --error-exitcode=1 --leak-check=full --errors-for-leak-kinds=definite \
    "$zeb" --headless --root "$work/library" --settings "$work/settings" "$@" >"$work/out.jsonl"
}

# A folder: thumbnails, the page view, page turns by tap and key, every zoom
# mode, the quarter turn and the mirror, settings, a preset, the key panel.
run_session "$work/library/Comics/Sample Book" <<'SCRIPT'
select 1003 1
tick 7
dblclick 1003
tick 2
tap 470 500
key right press
tick 3
tap 240 320
tick 5
cancel
click 1021
select 1014 1
select 1014 3
select 1014 4
click 1091
select 1014 5
click 1089
select 1014 6
text 1031 300
click 1084
click 1074
text 1036 test
answer yes
click 1023
click 1021
ok
tick 10
key down down
tick 5
key down up
cancel
click 1077
click 1082
click 1077
answer yes
cancel
SCRIPT

echo "ok: a folder session (pages, zoom modes, settings, a preset, the key panel) ran without errors"

# An archive, resumed from the history, then the exit question.
run_session "$work/library/Comics/Stored Book.zip" <<'SCRIPT'
ok
tick 2
ok
ok
tap 10 500
tick 2
cancel
select 1036 0
answer yes
cancel
SCRIPT
echo "ok: an archive session (resumed from the history, the exit question) ran without errors"
echo "valgrind: no errors"
