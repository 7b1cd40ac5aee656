#!/usr/bin/env bash
# Builds the Debian binary package from this source tree, leaving the work
# tree as it was: the tree is copied to build/deb, the changelog is written
# there with the program's own version, dpkg-buildpackage builds it, and the
# packages land in out/. lintian then checks the package.
set -euo pipefail
cd "$(dirname "$0")/.."

# The one definition of the version: the project line of CMakeLists.txt,
# which is also what `zeb --version` prints.
version="$(sed -n 's/^project(zeb VERSION \([0-9][0-9.]*\).*/\1/p' CMakeLists.txt)"
[ -n "$version" ] || { echo "make-deb: no version in CMakeLists.txt" >&2; exit 1; }
maintainer="$(sed -n 's/^Maintainer: //p' debian/control)"

stage="build/deb"
src="$stage/zeb-$version"
rm -rf "$stage"
mkdir -p "$src" out
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  # The files of the checkout as they stand, committed or not, without
  # what git ignores (builds, out/).
  git ls-files -z --cached --others --exclude-standard |
    while IFS= read -r -d '' f; do [ -e "$f" ] && printf '%s\0' "$f"; done |
    tar --null -T - -cf - | tar -xf - -C "$src"
  date="$(git log -1 --format=%cD 2>/dev/null || date -R)"
else
  tar --exclude=./build --exclude=./out -cf - . | tar -xf - -C "$src"
  date="$(date -R)"
fi

cat >"$src/debian/changelog" <<CHANGES
zeb ($version) unstable; urgency=medium

  * ZEB $version, packaged from its source tree.

 -- $maintainer  $date
CHANGES

(cd "$src" && dpkg-buildpackage -b -us -uc)

packaged="$("$src/debian/zeb/usr/bin/zeb" --version)"
if [ "$packaged" != "zeb $version" ]; then
  echo "make-deb: the package is $version but the program says '$packaged'" >&2
  exit 1
fi
rm -f out/zeb_*.deb out/zeb-dbgsym_*.deb
cp "$stage"/zeb_"$version"_*.deb out/
cp "$stage"/zeb-dbgsym_"$version"_*.deb out/ 2>/dev/null || true
lintian --fail-on error --info "$stage"/zeb_"$version"_*.changes
ls out/zeb_"$version"_*.deb
