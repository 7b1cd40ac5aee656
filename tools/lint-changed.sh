#!/usr/bin/env bash
# Format and tidy checks on the changed C++ files only, so the check stays
# fast and never asks for a reformatting of code nobody touched.
#
# What "changed" means, first rule that applies:
#   1. ZEB_LINT_BASE=<rev> given: everything that differs from that revision
#      (its merge base with HEAD), working tree included;
#   2. on a branch other than main, with main present: everything since the
#      branch left main, working tree included;
#   3. otherwise (a clean clone of main, as in CI): the last commit's changes
#      (HEAD~1), plus anything uncommitted.
# Format: only the changed lines must match .clang-format (git clang-format).
# Tidy: the changed .cpp files of the program (core/ app/ image/ view/ input/
# sources/ settings/ host/ widgets/ frontend/; a changed header brings its own
# .cpp) are run through clang-tidy with .clang-tidy, at most ZEB_TIDY_MAX of
# them (default 8; the rest are named as skipped). Tests, benchmarks, fuzz
# targets and tools are formatted but not tidied: their test-framework
# macros make tidy slow and noisy there. The compile commands come from BUILD
# (default build/test), configured there when missing.
# Usage: tools/lint-changed.sh [BUILD]
# Exit status 1 on a format difference or a tidy finding.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/test}
tidy_max=${ZEB_TIDY_MAX:-8}

base_revision() {
  if [ -n "${ZEB_LINT_BASE:-}" ]; then
    git merge-base "$ZEB_LINT_BASE" HEAD
    return
  fi
  local branch
  branch=$(git symbolic-ref --quiet --short HEAD || true)
  if [ -n "$branch" ] && [ "$branch" != main ] && git rev-parse --verify --quiet main >/dev/null; then
    git merge-base main HEAD
    return
  fi
  if git rev-parse --verify --quiet HEAD~1 >/dev/null; then
    git rev-parse HEAD~1
    return
  fi
  # A single commit with no parent: compare with the empty tree.
  git hash-object -t tree /dev/null
}

bash tools/install-deps.sh --lint
source tools/require.sh
require git git-clang-format clang-format clang-tidy cmake ninja
base=$(base_revision)
mapfile -t changed < <(git diff --name-only --diff-filter=ACMR "$base" -- '*.cpp' '*.h' | sort -u)
if [ ${#changed[@]} -eq 0 ]; then
  echo "lint: no C++ file changed since ${base:0:12}"
  exit 0
fi
echo "lint: ${#changed[@]} changed C++ file(s) since ${base:0:12}"
status=0

# Format: the changed lines only.
format_out=$(git clang-format --diff --extensions cpp,h "$base" -- "${changed[@]}" 2>&1 || true)
if [[ -n $format_out && $format_out != *"did not modify any files"* && $format_out != *"no modified files to format"* ]]; then
  echo "$format_out"
  echo "lint: the lines above differ from .clang-format (fix with: git clang-format $base)" >&2
  status=1
fi

# Tidy: the changed sources with compile commands.
if [ ! -f "$build/compile_commands.json" ]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DZEB_SANITIZE=ON >/dev/null
fi
sources=()
for f in "${changed[@]}"; do
  [[ $f =~ ^(core|app|image|view|input|sources|settings|host|widgets|frontend)/ ]] || continue
  src=$f
  [[ $f == *.h ]] && src=${f%.h}.cpp
  [ -f "$src" ] || continue
  grep -F "\"file\": \"$PWD/$src\"" "$build/compile_commands.json" >/dev/null || continue
  [[ " ${sources[*]-} " == *" $src "* ]] || sources+=("$src")
done
if [ ${#sources[@]} -gt "$tidy_max" ]; then
  echo "lint: tidy skipped (more than $tidy_max files): ${sources[*]:$tidy_max}"
  sources=("${sources[@]:0:$tidy_max}")
fi
# clang-tidy parses with clang, which refuses GCC's vectoriser options: it
# reads a copy of the compile commands without them.
tidy_db=$(mktemp -d)
trap 'rm -rf "$tidy_db"' EXIT
sed 's/ -fvect-cost-model=[a-z-]*//g' "$build/compile_commands.json" >"$tidy_db/compile_commands.json"
for src in "${sources[@]}"; do
  out=$(clang-tidy -p "$tidy_db" --quiet "$src" 2>/dev/null || true)
  if grep -E '(warning|error):' <<<"$out" >/dev/null; then
    echo "$out"
    status=1
  fi
done
[ "$status" -eq 0 ] && echo "lint: format and tidy clean"
exit "$status"
