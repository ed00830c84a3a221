#!/usr/bin/env bash
# Sets up what is missing, builds every tree and runs every test: native (sanitizers) and
# under Wine. Prints the ctest summaries; exits non-zero on any failure.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh"

"$FERNWICK_ROOT/scripts/setup.sh" || exit 1
"$FERNWICK_ROOT/scripts/build.sh" || exit 1
"$FERNWICK_ROOT/scripts/setup.sh" || exit 1   # the prefix lives in the build folder

status=0
say "== native tests"
ctest --test-dir "$FERNWICK_NATIVE_BUILD" --output-on-failure -j "$FERNWICK_JOBS" || status=1

say "== Windows tests under Wine"
# One display for the whole run; wine-run.sh starts its own only when DISPLAY is unset.
start_xvfb_if_needed
ctest --test-dir "$FERNWICK_WIN_BUILD" --output-on-failure || status=1
wait_for_wine
stop_xvfb

if ((status)); then say "FAILED"; else say "All tests passed"; fi
exit $status
