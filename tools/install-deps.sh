#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing ZEB need,
# skipping those already present. Runs apt-get as root, or through sudo.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  libjpeg62-turbo-dev zlib1g-dev libdeflate-dev libsdl2-dev libfreetype-dev libfontconfig-dev libpng-dev
  fonts-ipafont-gothic nlohmann-json3-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  libjpeg-turbo-progs zip xvfb xdotool x11-apps valgrind
  openbox wmctrl desktop-file-utils appstream man-db
  clang-format clang-tidy
)
# --lint (the format and tidy checks of tools/lint-changed.sh) needs nothing
# beyond the list above.
if [ "${1:-}" = "--fuzz" ]; then
  packages+=(clang libclang-rt-14-dev)
fi
# What `make deb` builds the Debian package with and checks it with.
if [ "${1:-}" = "--deb" ]; then
  packages+=(debhelper dpkg-dev lintian)
fi
# The tools the benchmark suite compares the viewer with, and its plotter.
if [ "${1:-}" = "--bench" ]; then
  packages+=(libjpeg-turbo-progs imagemagick libvips-tools gnuplot-nox)
fi

missing=()
for p in "${packages[@]}"; do
  status="$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null)" || status=""
  if [ "$status" != "install ok installed" ]; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
