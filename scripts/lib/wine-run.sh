#!/usr/bin/env bash
# Runs a Windows program of the build under Wine with the project's own prefix, ANSI code
# page 936 (another with FERNWICK_WINE_LOCALE, e.g. en_US.UTF-8 for code page 1252) and a
# display. Starts Xvfb when DISPLAY is unset and stops it afterwards.
# Used by ctest as CMAKE_CROSSCOMPILING_EMULATOR.
#   wine-run.sh [--prefix DIR] [--boot] program.exe [args...]
set -uo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/common.sh"
prefix="${WINEPREFIX:-$FERNWICK_PREFIX}"
boot=0
while [[ $# -gt 0 ]]; do
  case "$1" in
    --prefix) prefix="$2"; shift 2 ;;
    --boot) boot=1; shift ;;
    *) break ;;
  esac
done
mkdir -p "$prefix"
export WINEPREFIX="$(cd "$prefix" && pwd)"
export LC_ALL="${FERNWICK_WINE_LOCALE:-zh_CN.UTF-8}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64

start_xvfb_if_needed

stop_display() {
  if [[ -n "$XVFB_PID" ]]; then
    wait_for_wine 30 "$WINEPREFIX"
    stop_xvfb
  fi
}
trap stop_display EXIT

if ((boot)); then
  wineboot -i >/dev/null 2>&1
  wineserver -w
  give_prefix_fonts "$WINEPREFIX"
  exit 0
fi
# Every prefix, also one that Wine made by itself on a first run, gets the caption glyphs.
give_prefix_fonts "$WINEPREFIX"
wine "$@"
