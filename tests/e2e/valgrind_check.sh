#!/usr/bin/env bash
# The viewer under valgrind: see tools/valgrind-check.sh. Arguments: the zeb
# program and the sample library tool of this build.
exec bash "$(dirname "$0")/../../tools/valgrind-check.sh" "$@"
