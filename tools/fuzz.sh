#!/usr/bin/env bash
# Builds the libFuzzer targets with clang in build/fuzz and runs each one in
# turn for SECONDS seconds (default 300), merging new inputs into its corpus
# under fuzz/corpus/<target>/. A crashing input is left in build/fuzz/findings;
# keep it under fuzz/regressions/<target>/ once the fault is fixed.
#   tools/fuzz.sh [SECONDS] [TARGET...]
# FUZZ_TIMEOUT sets the seconds one input may take (default 20). A page of
# the largest size the viewer accepts (400 MB of bitmap from a 1 KB file)
# takes seconds to decode under the sanitizers, and several times that on
# a busy machine: raise it there rather than count such a page as a hang.
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/require.sh
require clang clang++ cmake ninja

seconds=${1:-300}
[ $# -gt 0 ] && shift
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(page_decode archive_list configuration key_bindings bookmarks presets script_parser)

build=build/fuzz
CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DZEB_FUZZ=ON -DZEB_SANITIZE=ON -DZEB_TESTS=OFF -DZEB_BENCH=OFF >/dev/null
cmake --build "$build" --target "${targets[@]/#/fuzz_}"

findings="$build/findings"
mkdir -p "$findings"
export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp"
status=0
for target in "${targets[@]}"; do
  corpus=fuzz/corpus/$target
  fresh="$build/new/$target"
  mkdir -p "$corpus" "$fresh"
  echo "== $target: ${seconds}s"
  # New inputs land in a scratch folder first; the merge then keeps only
  # those that add coverage to the corpus.
  if ! "$build/fuzz/fuzz_$target" "$fresh" "$corpus" fuzz/regressions/"$target" \
      -max_total_time="$seconds" -timeout="${FUZZ_TIMEOUT:-20}" -rss_limit_mb=4096 -max_len=16384 \
      -close_fd_mask=2 -print_final_stats=1 -artifact_prefix="$findings/$target-" \
      2>"$build/$target.log"; then
    echo "   finding: see $build/$target.log and $findings/"
    status=1
  fi
  grep -E '^stat::number_of_executed_units|^Done|^INFO: Seed' "$build/$target.log" | sed 's/^/   /' || true
  "$build/fuzz/fuzz_$target" -merge=1 -close_fd_mask=2 "$corpus" "$fresh" 2>"$build/$target.merge.log" || true
  rm -rf "$fresh"
  echo "   corpus: $(ls "$corpus" | wc -l) inputs, $(cat "$corpus"/* | wc -c) bytes"
done
exit $status
