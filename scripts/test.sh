#!/usr/bin/env bash
# Sets up what is missing, builds every tree and runs every test: native (sanitizers) and
# under Wine. Prints the ctest summaries; exits non-zero on any failure.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh"

"$FERNWICK_ROOT/scripts/setup.sh" || exit 1
FERNWICK_SKIP_I686=1 "$FERNWICK_ROOT/scripts/build.sh" || exit 1
"$FERNWICK_ROOT/scripts/setup.sh" || exit 1   # the prefix lives in the build folder

# The 32-bit tree is only built, never run: it compiles while the tests run, at the lowest
# priority, so the tests' windows and server still get the processor when they want it.
i686_log="$FERNWICK_BUILD/windows-i686-build.log"
if [[ "${FERNWICK_SKIP_I686:-0}" != 1 ]]; then
  FERNWICK_ONLY_I686=1 nice -n 19 "$FERNWICK_ROOT/scripts/build.sh" >"$i686_log" 2>&1 &
  i686_build=$!
fi

status=0
phase "native tests"
ctest --test-dir "$FERNWICK_NATIVE_BUILD" --output-on-failure -j "$FERNWICK_JOBS" || status=1

phase "Windows tests under Wine"
# One display for the whole run; wine-run.sh starts its own only when DISPLAY is unset.
start_xvfb_if_needed
keep_wine_up
trap 'stop_kept_wine; stop_xvfb' EXIT
ctest --test-dir "$FERNWICK_WIN_BUILD" --output-on-failure || status=1
stop_kept_wine
wait_for_wine
stop_xvfb

if [[ -n "${i686_build:-}" ]]; then
  if wait "$i686_build"; then
    phase "Windows tree (i686) built"
  else
    tail -n 40 "$i686_log"
    phase "Windows tree (i686) did not build: $i686_log"
    status=1
  fi
fi

phase "end"
if ((status)); then say "FAILED"; else say "All tests passed"; fi
exit $status
