#!/usr/bin/env bash
# Checks the floor plan from the #include lines. Floors, lowest first:
#   host      files, identity, instance, signals, worker, child process,
#             random, code pages, natural order, inflate
#   widgets   bitmaps, the dialog model, drawing of controls, fonts, shapes,
#             what controls do with the stylus, keys and wheel, gestures
#   core      the viewer state, the shared codes, the front-end contract
#   features  view image input sources settings: side by side, each
#             including only its own folder and the floors below
#   app       the acts that combine features, the handlers and routing
#   frontend  the window and the script runner
# A folder includes its own headers and those of lower floors, never a
# folder of its own floor or one above. No include circle runs between units
# (a header and its source), inside a folder or between folders. The viewer
# (core, the features, app) includes no host library header: those calls
# belong to host/, widgets/ and the front ends.
# Usage: tools/check-layers.sh [ROOT]   (default: the repository holding it)
set -euo pipefail
root=${1:-$(cd "$(dirname "$0")/.." && pwd)}
cd "$root"

folders=(host widgets core view image input sources settings app frontend)
floor_of() {
  case $1 in
    host) echo 0 ;; widgets) echo 1 ;; core) echo 2 ;;
    view|image|input|sources|settings) echo 3 ;;
    app) echo 4 ;; frontend) echo 5 ;;
    *) echo -1 ;;
  esac
}
is_viewer() { case $(floor_of "$1") in 2|3|4) return 0 ;; *) return 1 ;; esac; }
# Host headers only host/, widgets/ and the front ends may include.
host_headers='SDL|ft2build\.h|freetype/|fontconfig/|iconv\.h|unistd\.h|dirent\.h|fcntl\.h|sys/|pthread\.h|poll\.h|signal\.h'

failures=0
edges=$(mktemp)
trap 'rm -f "$edges"' EXIT
for folder in "${folders[@]}"; do
  [ -d "$folder" ] || continue
  own=$(floor_of "$folder")
  while IFS= read -r file; do
    unit=${file%.*}
    while IFS=: read -r line text; do
      if [[ $text =~ ^[[:space:]]*#[[:space:]]*include[[:space:]]*\"(([^/\"]+)/[^\"]*)\" ]]; then
        header=${BASH_REMATCH[1]}
        target=${BASH_REMATCH[2]}
        target_unit=${header%.*}
        [ "$target_unit" != "$unit" ] && echo "$unit $target_unit" >> "$edges"
        other=$(floor_of "$target")
        if [ "$target" != "$folder" ] && [ "$other" -ge "$own" ]; then
          if [ "$other" -eq "$own" ]; then
            echo "$file:$line: $folder/ includes $header, a folder of its own floor"
          else
            echo "$file:$line: $folder/ includes $header, a floor above it"
          fi
          failures=$((failures + 1))
        fi
      elif [[ $text =~ ^[[:space:]]*#[[:space:]]*include[[:space:]]*\<([^\>]*)\> ]] && is_viewer "$folder"; then
        header=${BASH_REMATCH[1]}
        if [[ $header =~ ^($host_headers) ]]; then
          echo "$file:$line: $folder/ includes the host header <$header>; only host/, widgets/ and the front ends may"
          failures=$((failures + 1))
        fi
      fi
    done < <(grep -n '^[[:space:]]*#[[:space:]]*include' "$file" || true)
  done < <(find "$folder" -type f \( -name '*.h' -o -name '*.cpp' \) | sort)
done

# An include circle between units shows as a loop in their order: tsort
# names the units on it.
if ! loops=$(sort -u "$edges" | tsort 2>&1 >/dev/null); then
  echo "$loops" | sed -n 's/^tsort: /include circle: /p'
  failures=$((failures + 1))
fi

if [ "$failures" -gt 0 ]; then
  echo "check-layers: $failures include(s) run against the floor plan" >&2
  exit 1
fi
echo "check-layers: every include runs downwards, and no units include each other in a circle"
