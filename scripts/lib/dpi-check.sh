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

# Writes a value into $prefix's registry. A Wine whose server is still going down after the
# prefix was made may refuse a first try; a value that cannot be written at all is said, not
# passed over in silence.
set_value() {  # key, reg add's value arguments...
  local try
  for try in 1 2 3; do
    "$FERNWICK_ROOT/scripts/lib/wine-run.sh" --prefix "$prefix" reg add "$@" /f >/dev/null 2>&1 && return 0
    WINEPREFIX="$prefix" wineserver -w 2>/dev/null || true
  done
  say "could not write $1 into $prefix"
  return 1
}

status=0
for dpi in "${dpis[@]}"; do
  prefix="$FERNWICK_WIN_BUILD/dpi-prefix-$dpi"
  if [[ ! -f "$prefix/system.reg" ]]; then
    say "== making $prefix"
    copy_fresh_prefix "$prefix"
  fi
  # Written at every run (it costs nothing when it is already there), with the server down
  # afterwards, so that the next start reads it.
  set_value 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi"
  set_value 'HKCU\Software\Wine\X11 Driver' /v Managed /d N
  WINEPREFIX="$prefix" wineserver -w || true
  say "== $dpi DPI"
  FERNWICK_EXPECTED_DPI="$dpi" "$FERNWICK_ROOT/scripts/lib/wine-run.sh" --prefix "$prefix" "$program" "$@" || status=1
  WINEPREFIX="$prefix" wineserver -w 2>/dev/null || true
done
exit $status
