#!/usr/bin/env bash
# Builds the photo tools (tools/photo_bench.exe and tools/thumbnail_demo.exe) against the
# libraries of the x86_64 Windows tree, into build/windows/tools/.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

if [[ ! -f "$FERNWICK_WIN_BUILD/CMakeCache.txt" ]]; then
  FERNWICK_SKIP_I686=1 "$FERNWICK_ROOT/scripts/build.sh" >/dev/null
fi
cmake --build "$FERNWICK_WIN_BUILD" -j "$FERNWICK_JOBS" --target fernwick_win >/dev/null
out="$FERNWICK_WIN_BUILD/tools"
mkdir -p "$out"
flags=(-std=c++20 -O2 -Wall -Wextra -Werror -Wno-missing-field-initializers -fexec-charset=CP936
       -DNOMINMAX -D_WIN32_WINNT=0x0601 -DWINVER=0x0601 -I"$FERNWICK_ROOT" -I"$FERNWICK_WIN_BUILD/generated")
libs=("$FERNWICK_WIN_BUILD/libfernwick_win.a" "$FERNWICK_WIN_BUILD/libfernwick_core.a"
      -lgdiplus -lpsapi -lcomctl32 -lcomdlg32 -lshell32 -lole32 -luuid -lgdi32 -luser32
      -static -static-libgcc -static-libstdc++)
for tool in photo_bench thumbnail_demo; do
  x86_64-w64-mingw32-g++-posix "${flags[@]}" -o "$out/$tool.exe" \
    "$FERNWICK_ROOT/tools/$tool.cpp" "$FERNWICK_ROOT/tools/scene_pictures.cpp" "$FERNWICK_ROOT/tools/tool_host.cpp" "${libs[@]}"
done
echo "$out"
