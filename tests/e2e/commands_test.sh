#!/usr/bin/env bash
# Every command the project's scripts call comes from a package the set-up
# installs: each script names the commands it calls (outside Debian's
# essential set) on its `require` line, every package tools/require.sh
# names for a command is one tools/install-deps.sh installs, and the
# scripts `make test` runs (those under tests/) need none of the extras of
# its options.
# Arguments (given to every script test) are not used.
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
cd "$root"
source tools/require.sh

failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

base="$(bash tools/install-deps.sh --list)"
every="$base"
for option in --bench --fuzz --deb; do every+=" $(bash tools/install-deps.sh --list "$option")"; done
in_list() { [[ " $(tr '\n' ' ' <<<"$2") " == *" $1 "* ]]; }
for command in "${!require_packages[@]}"; do
  in_list "${require_packages[$command]}" "$every" ||
    fail "$command's package ${require_packages[$command]} is installed by no option of tools/install-deps.sh"
done

# The words of a script's require lines.
required_by() { sed -n 's/^[[:space:]]*\(\[.*\] *|| *\)\?require \([^#]*\).*/\2/p' "$1" | tr ' ' '\n'; }
# The script without its comments and require lines.
body_of() { grep -v -E '^[[:space:]]*(#|require )' "$1" || true; }

# The end-to-end scripts' shared library is sourced, not run, and checked as
# a script of its own.
scripts=(tests/*/*.sh tests/e2e/lib/*.bash tools/*.sh bench/*.sh bench/run)
for script in "${scripts[@]}"; do
  # The set-up names packages, not commands; the helper names both.
  [[ $script == tools/require.sh || $script == tools/install-deps.sh ]] && continue
  needed="$(required_by "$script")"
  body="$(body_of "$script")"
  for command in "${!require_packages[@]}"; do
    # A command is called where it starts a word that is not part of a
    # path, an option or a longer name; one the script first looks for
    # (command -v) is optional there.
    [[ $body == *"command -v $command "* ]] && continue
    pattern="(^|[[:space:];|&(\`])$(sed 's/[+.]/\\&/g' <<<"$command")([[:space:];|&)]|$)"
    if grep -E "$pattern" <<<"$body" >/dev/null && ! in_list "$command" "$needed"; then
      fail "$script calls $command without requiring it"
    fi
  done
  if [[ $script == tests/* ]]; then
    for command in $needed; do
      in_list "${require_packages[$command]:-?}" "$base" ||
        fail "$script, run by make test, needs $command, which the plain set-up does not install"
    done
  fi
done
[ "$failures" = 0 ] || exit 1
echo "ok: ${#scripts[@]} scripts require every command they call"
