#!/usr/bin/env bash
# The viewer under valgrind: see tools/valgrind-check.sh. Arguments: the zeb
# program and the sample library tool of this build. The test build has the
# sanitizers, which valgrind cannot run, and building a plain viewer here
# would outlast the test's time limit: an existing plain build is used, or
# the check is skipped.
ZEB_VALGRIND_BUILD=no exec bash "$(dirname "$0")/../../tools/valgrind-check.sh" "$@"
