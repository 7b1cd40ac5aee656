#!/usr/bin/env bash
# Checks from the #include lines that dependencies run one way: a folder may
# include its own headers and those of the folders below it, never one above.
# The order, lowest first:
#   platform  the host: files, code pages, bitmaps, fonts, drawing, controls
#   core      the viewer state, control ids and the shared codes
#   view      zoom modes, resampling, panels, the scrolling steps of the tick
#   image     page loading and painting
#   input     page steps, taps, keys
#   sources   folders, archives, sorting, siblings
#   settings  configuration, bookmarks, key bindings, presets
#   app       control handlers, routing, start-up, the tick, window actions
#   frontend  the window and the script runner
# The viewer's folders (everything above platform and below frontend) also
# include no host library header: those calls belong to platform/.
# Usage: tools/check-layers.sh [ROOT]   (default: the repository holding it)
set -euo pipefail
root=${1:-$(cd "$(dirname "$0")/.." && pwd)}
cd "$root"

layers=(platform core view image input sources settings app frontend)
viewer_layers=(core view image input sources settings app)
# Host headers only platform/ (and the front ends) may include.
host_headers='SDL|ft2build\.h|freetype/|fontconfig/|iconv\.h|unistd\.h|dirent\.h|fcntl\.h|sys/|pthread\.h|poll\.h|signal\.h'

level_of() {
  local i
  for i in "${!layers[@]}"; do
    if [ "${layers[$i]}" = "$1" ]; then echo "$i"; return; fi
  done
  echo -1
}

is_viewer_layer() {
  local l
  for l in "${viewer_layers[@]}"; do [ "$l" = "$1" ] && return 0; done
  return 1
}

failures=0
for folder in "${layers[@]}"; do
  [ -d "$folder" ] || continue
  own=$(level_of "$folder")
  while IFS= read -r file; do
    while IFS=: read -r line text; do
      if [[ $text =~ ^[[:space:]]*#[[:space:]]*include[[:space:]]*\"([^/\"]+)/([^\"]*)\" ]]; then
        target=${BASH_REMATCH[1]}
        other=$(level_of "$target")
        if [ "$other" -gt "$own" ]; then
          echo "$file:$line: $folder/ includes $target/${BASH_REMATCH[2]}, a layer above it"
          failures=$((failures + 1))
        fi
      elif [[ $text =~ ^[[:space:]]*#[[:space:]]*include[[:space:]]*\<([^\>]*)\> ]] && is_viewer_layer "$folder"; then
        header=${BASH_REMATCH[1]}
        if [[ $header =~ ^($host_headers) ]]; then
          echo "$file:$line: $folder/ includes the host header <$header>; only platform/ may"
          failures=$((failures + 1))
        fi
      fi
    done < <(grep -n '^[[:space:]]*#[[:space:]]*include' "$file" || true)
  done < <(find "$folder" -type f \( -name '*.h' -o -name '*.cpp' \) | sort)
done

if [ "$failures" -gt 0 ]; then
  echo "check-layers: $failures include(s) run against the layer order" >&2
  exit 1
fi
echo "check-layers: every include runs downwards"
