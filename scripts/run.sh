#!/usr/bin/env bash
# Sets up what is missing, builds, starts the local reference upload server (when the tree has
# one) and runs fernwick.exe under Wine on your display, or under Xvfb when there is none.
# The server is stopped again when the program ends.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh"

"$FERNWICK_ROOT/scripts/setup.sh"
FERNWICK_SKIP_I686="${FERNWICK_SKIP_I686:-1}" "$FERNWICK_ROOT/scripts/build.sh"
"$FERNWICK_ROOT/scripts/setup.sh"   # the Wine prefix lives in the build folder

server="$FERNWICK_ROOT/scripts/server.sh"
cleanup() {
  [[ -x "$server" ]] && "$server" stop >/dev/null 2>&1 || true
  if [[ -n "$XVFB_PID" ]]; then
    # Let Wine's helpers let go of the display before it goes.
    wait_for_wine 10
    stop_xvfb
  fi
}
trap cleanup EXIT
if [[ -x "$server" ]]; then
  say "Starting the local upload server on port $FERNWICK_LOCAL_PORT"
  "$server" start
fi

if [[ -n "${DISPLAY:-}" ]]; then
  set_wine_window_management Y   # your window manager frames the window
else
  start_xvfb_if_needed
  say "No display: running under Xvfb on $DISPLAY, where nothing can be seen."
  say "Use scripts/screenshot.sh to look at the window."
fi
say "Running fernwick.exe (close its window to end)"
status=0
"$FERNWICK_ROOT/scripts/lib/wine-run.sh" "$FERNWICK_WIN_BUILD/fernwick.exe" || status=$?
# A normal close ends the program with 1, a second start with 0.
if ((status > 1)); then
  say "fernwick.exe ended with code $status"
  exit "$status"
fi
