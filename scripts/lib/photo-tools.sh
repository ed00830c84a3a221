#!/usr/bin/env bash
# Builds the photo tools (photo_bench.exe and thumbnail_demo.exe, targets of the x86_64
# Windows tree) and prints the folder that holds them: build/windows/tools.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

if [[ ! -f "$FERNWICK_WIN_BUILD/CMakeCache.txt" ]]; then
  FERNWICK_SKIP_I686=1 "$FERNWICK_ROOT/scripts/build.sh" >/dev/null
fi
cmake --build "$FERNWICK_WIN_BUILD" -j "$FERNWICK_JOBS" --target photo_bench thumbnail_demo >/dev/null
echo "$FERNWICK_WIN_BUILD/tools"
