#!/usr/bin/env bash
# Starts the viewer on the sample library: in a window when a display is
# available, otherwise headless with a short demo script whose screenshots
# land in out/.
set -euo pipefail
zeb="$1"
library="$(cd "$2" && pwd)"
out="$(pwd)/out"
settings="$out/settings"
mkdir -p "$settings"

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [ -z "${ZEB_HEADLESS:-}" ]; then
  exec "$zeb" --root "$library" --settings "$settings" "$library/Comics"
fi

echo "No display found: running the headless demo (set DISPLAY for the window)."
shots="$out/demo"
mkdir -p "$shots"
"$zeb" --headless --root "$library" --settings "$settings" "$library/Comics/Sample Book" <<EOF2 >"$out/demo.jsonl"
tick 2
shot $shots/1-browser.png
select 1003 0
tick 7
shot $shots/2-browser-thumbnail.png
dblclick 1003
tick 2
shot $shots/3-page-1.png
tap 470 500
tick 2
shot $shots/4-page-2.png
tap 240 600
tick 3
shot $shots/5-view-panel.png
cancel
click 1021
tick 3
shot $shots/6-settings.png
state
EOF2
echo "Screenshots written to $shots:"
ls -1 "$shots"
echo "Script output (JSON Lines) in $out/demo.jsonl"
