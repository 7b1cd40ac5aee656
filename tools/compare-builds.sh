#!/usr/bin/env bash
# Runs the same scripts through two builds of the viewer and compares what
# they leave, byte for byte: screenshots, state dumps, printed lines, exit
# status and settings files. For changes meant to leave behaviour alone
# (a restructuring, a faster path): build the old commit and the new one,
# then
#   bash tools/compare-builds.sh OLD/zeb NEW/zeb NEW/zeb-sample-library [SCRIPTS_DIR]
# The scripts (tools/compare-scripts by default) run headless on the sample
# library, archive.txt inside its archive; read-ahead is off so both runs
# decode in the same order.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
[ $# -ge 3 ] || { echo "usage: compare-builds.sh OLD_ZEB NEW_ZEB SAMPLE_TOOL [SCRIPTS_DIR]" >&2; exit 2; }
base=$(realpath "$1") new=$(realpath "$2") tool=$(realpath "$3") scripts=$(realpath "${4:-$here/compare-scripts}")
work=$(mktemp -d)
"$tool" "$work/lib" >/dev/null || { echo "the sample library could not be made" >&2; exit 2; }

run() {  # which binary script location
  local which=$1 bin=$2 script=$3 loc=$4 name out
  name=$(basename "$script" .txt)
  out=$work/run/$name
  rm -rf "$out"
  mkdir -p "$out/settings" "$work/$which"
  (cd "$out" && "$bin" --headless --script "$script" --root "$work/lib" --settings "$out/settings" --no-read-ahead \
    "$loc" >"$out/stdout.txt" 2>"$out/stderr.txt"; echo "rc=$?" >>"$out/stdout.txt")
  mv "$out" "$work/$which/$name"
}

for script in "$scripts"/*.txt; do
  location=$work/lib
  [ "$(basename "$script")" = archive.txt ] && location="$work/lib/Comics/Volume 3.cbz"
  run old "$base" "$script" "$location"
  run new "$new" "$script" "$location"
done
if diff -r "$work/old" "$work/new" >"$work/diff.txt"; then
  echo "identical: $(find "$work/old" -type f | wc -l) files ($(find "$work/old" -name '*.png' | wc -l) screenshots," \
    "$(cat "$work"/old/*/stdout.txt | grep -c '"state"') state dumps," \
    "$(find "$work/old" -path '*settings/*' -type f | wc -l) settings files)"
  rm -rf "$work"
else
  echo "they differ (kept in $work):"
  head -c 3000 "$work/diff.txt"
  exit 1
fi
