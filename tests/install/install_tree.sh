#!/usr/bin/env bash
# What the Debian package ships, checked on `cmake --install --prefix /usr`
# into a scratch DESTDIR: every file is there, the desktop entry and the
# metadata pass their validators (the screenshot list too, whose pictures
# must be those of docs/), the manual page renders without a warning and
# names every option and key of --help and the program's version, and the
# installed program keeps its settings in the XDG folder.
# Usage: install_tree.sh CMAKE BUILD_DIR SOURCE_DIR
set -euo pipefail
cmake="$1" build="$2" source="$3"
for tool in desktop-file-validate:desktop-file-utils appstreamcli:appstream man:man-db; do
  command -v "${tool%%:*}" >/dev/null || { echo "needs ${tool%%:*} (Debian package ${tool#*:})"; exit 1; }
done
dest="$(mktemp -d)"
trap 'rm -rf "$dest"' EXIT
DESTDIR="$dest" "$cmake" --install "$build" --prefix /usr >/dev/null
usr="$dest/usr" metainfo=share/metainfo/org.example.zeb.metainfo.xml failed=0
files=(bin/zeb share/applications/zeb.desktop share/man/man1/zeb.1 "$metainfo" share/doc/zeb/scripting.md)
for size in 32 48 128 256; do files+=("share/icons/hicolor/${size}x$size/apps/zeb.png"); done
for f in "${files[@]}"; do
  [ -s "$usr/$f" ] || { echo "not installed: /usr/$f"; failed=1; }
done
[ "$failed" = 0 ] || exit 1

desktop-file-validate "$usr/share/applications/zeb.desktop"
appstreamcli validate --no-net "$usr/$metainfo" >/dev/null
"$cmake" -DZEB_METAINFO_IN="$source/frontend/sdl/zeb.metainfo.xml.in" -DZEB_METAINFO_OUT="$dest/shots.xml" \
  -DZEB_SCREENSHOT_URL=https://docs.invalid/zeb/docs/ -P "$source/tools/metainfo.cmake"
appstreamcli validate --no-net "$dest/shots.xml" >/dev/null
shots="$(sed -n 's|.*<image>https://docs.invalid/zeb/docs/\([^<]*\)</image>.*|\1|p' "$dest/shots.xml")"
[ -n "$shots" ] || { echo "no screenshots listed"; exit 1; }
for shot in $shots; do [ -f "$source/docs/$shot" ] || { echo "screenshot $shot is not in docs/"; failed=1; }; done

page="$usr/share/man/man1/zeb.1"
warnings="$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$page" 2>&1 >/dev/null)"
[ -z "$warnings" ] || { echo "the manual page renders with warnings: $warnings"; failed=1; }
text="$(LC_ALL=C.UTF-8 MANWIDTH=1000 man -E UTF-8 -l "$page" 2>/dev/null)"
help="$("$usr/bin/zeb" --help)"
version="$("$usr/bin/zeb" --version)"
said=($(grep -oE -- '--[a-z-]+' <<<"$help" | sort -u) $(sed -n '/^Keys:/,$p' <<<"$help" |
  grep -oE '\b(Page[A-Za-z]+|Space|Home|End|Escape|F[0-9]+)\b' | sort -u) "${version#zeb }")
for word in "${said[@]}"; do
  grep -F -e "$word" <<<"$text" >/dev/null || { echo "the manual page never says $word"; failed=1; }
done

# Installed, the program keeps its settings in $XDG_CONFIG_HOME/zeb.
mkdir "$dest/root" "$dest/config"
XDG_CONFIG_HOME="$dest/config" "$usr/bin/zeb" --headless --root "$dest/root" </dev/null >/dev/null
[ -s "$dest/config/zeb/ZEB_CFG/zeb.cfg" ] || { echo "no settings in \$XDG_CONFIG_HOME/zeb/ZEB_CFG"; failed=1; }
exit "$failed"
