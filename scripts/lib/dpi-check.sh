#!/usr/bin/env bash
# Runs a test program of the build on screens of 150 % and 200 %: each DPI in a Wine prefix of
# its own (TREE/dpi-prefix-<DPI>, made once) whose LogPixels is that DPI. Wine takes LogPixels
# from the prefix's registry, for every program of the prefix, so the project's prefix, which
# every other test shares, cannot change its DPI for one run. The setting is written with the
# prefix's server stopped afterwards, so the run starts with it whenever Wine reads it.
#   dpi-check.sh program.exe DPI... [-- args...]
# The program learns the DPI it must find from FERNWICK_EXPECTED_DPI; screenshots go to
# FERNWICK_DPI_SCREENSHOT_DIR when that is set.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

program="$1"
shift
dpis=()
while [[ $# -gt 0 && "$1" != "--" ]]; do dpis+=("$1"); shift; done
[[ "${1:-}" == "--" ]] && shift

status=0
for dpi in "${dpis[@]}"; do
  prefix="$FERNWICK_WIN_BUILD/dpi-prefix-$dpi"
  if [[ ! -f "$prefix/system.reg" ]]; then
    say "== making $prefix"
    "$FERNWICK_ROOT/scripts/lib/wine-run.sh" --prefix "$prefix" --boot
  fi
  # Written at every run (it costs nothing when it is already there), with the server down
  # afterwards, so that the next start reads it.
  "$FERNWICK_ROOT/scripts/lib/wine-run.sh" --prefix "$prefix" reg add 'HKCU\Control Panel\Desktop' \
    /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
  "$FERNWICK_ROOT/scripts/lib/wine-run.sh" --prefix "$prefix" reg add 'HKCU\Software\Wine\X11 Driver' \
    /v Managed /d N /f >/dev/null 2>&1
  WINEPREFIX="$prefix" wineserver -w
  say "== $dpi DPI"
  FERNWICK_EXPECTED_DPI="$dpi" "$FERNWICK_ROOT/scripts/lib/wine-run.sh" --prefix "$prefix" "$program" "$@" || status=1
  WINEPREFIX="$prefix" wineserver -w 2>/dev/null || true
done
exit $status
