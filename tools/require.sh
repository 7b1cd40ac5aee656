# Sourced by the project's scripts: `require COMMAND...` checks that each
# command is on the PATH and, when one is not, ends the script at once with
# status 1, naming the command and the Debian package that has it (every
# one of them is installed by tools/install-deps.sh, some only with its
# --bench or --fuzz option). Commands of Debian's essential packages
# (coreutils, grep, sed, findutils, diffutils, bash) are always there and
# are not listed.

# The package of each command a script may require.
declare -A require_packages=(
  [Xvfb]=xvfb [xdotool]=xdotool [xwd]=x11-apps [xprop]=x11-utils [xwininfo]=x11-utils
  [openbox]=openbox [wmctrl]=wmctrl [valgrind]=valgrind [ldd]=libc-bin [awk]=mawk
  [cmake]=cmake [ninja]=ninja-build [git]=git [zip]=zip
  [clang]=clang [clang++]=clang [clang-format]=clang-format [git-clang-format]=clang-format
  [clang-tidy]=clang-tidy [djpeg]=libjpeg-turbo-progs [vipsthumbnail]=libvips-tools
  [gnuplot]=gnuplot-nox [convert-im6.q16]=imagemagick
  [desktop-file-validate]=desktop-file-utils [appstreamcli]=appstream [man]=man-db
  [dpkg-buildpackage]=dpkg-dev [lintian]=lintian
)

require() {
  local command
  for command in "$@"; do
    if [ -z "${require_packages[$command]:-}" ]; then
      echo "FAIL: require: no Debian package is known for '$command' (add it to tools/require.sh)" >&2
      exit 1
    fi
    if ! command -v "$command" >/dev/null; then
      echo "FAIL: $command is missing: it comes with the Debian package ${require_packages[$command]}" \
        "(bash tools/install-deps.sh installs it)" >&2
      exit 1
    fi
  done
}
