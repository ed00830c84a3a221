#!/usr/bin/env bash
# Starts fernwick.exe under a private Xvfb, waits until its main window has painted, saves a
# PNG of that window and closes the program the way a user would (WM_CLOSE).
#   scripts/screenshot.sh [out.png]      (default: build/screenshot.png)
# Needs a build (scripts/build.sh).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh"
out="$(realpath -m "${1:-$FERNWICK_BUILD/screenshot.png}")"
exe="$FERNWICK_WIN_BUILD/fernwick.exe"
[[ -f "$exe" ]] || { say "No $exe: run scripts/build.sh first"; exit 1; }

unset DISPLAY
start_xvfb_if_needed
wine_pid=""
finish() {
  if [[ -n "$wine_pid" ]] && kill -0 "$wine_pid" 2>/dev/null; then
    # taskkill without /f posts WM_CLOSE, so the program shuts down normally.
    "$FERNWICK_ROOT/scripts/lib/wine-run.sh" taskkill /im fernwick.exe >/dev/null 2>&1 || true
    for _ in $(seq 50); do kill -0 "$wine_pid" 2>/dev/null || break; sleep 0.2; done
    kill "$wine_pid" 2>/dev/null || true
  fi
  # Let Wine's helpers let go of the display before it goes.
  wait_for_wine 10
  stop_xvfb
}
trap finish EXIT

"$FERNWICK_ROOT/scripts/lib/wine-run.sh" "$exe" &
wine_pid=$!

window=""
for _ in $(seq 150); do
  window="$(xwininfo -root -tree 2>/dev/null | awk '/"Fernwick"/ {print $1; exit}')"
  [[ -n "$window" ]] && break
  sleep 0.2
done
[[ -n "$window" ]] || { say "The main window did not appear"; exit 1; }

# Painted: two captures a moment apart are the same picture.
tmp="$(mktemp -d)"
previous=""
for _ in $(seq 50); do
  sleep 0.3
  import -window "$window" "$tmp/shot.png" 2>/dev/null || continue
  sum="$(convert "$tmp/shot.png" rgb:- | md5sum)"
  [[ "$sum" == "$previous" ]] && break
  previous="$sum"
done
mkdir -p "$(dirname "$out")"
mv "$tmp/shot.png" "$out"
rm -rf "$tmp"
say "Saved $out"
