#!/usr/bin/env bash
# Configures and builds the trees:
#   build/native        portable pieces, tests and the reference server (sanitizers on)
#   build/windows       fernwick.exe and the Windows tests (x86_64, MinGW-w64)
#   build/windows-i686  the 32-bit variant, built only (skip with FERNWICK_SKIP_I686=1, or
#                       build only it with FERNWICK_ONLY_I686=1)
# Build settings may be given as cmake -D options after the script's name; they apply to
# the Windows trees, e.g. scripts/build.sh -DFERNWICK_SERVER_HOST=upload.example.com
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh"

# The Windows trees compile libjpeg-turbo, libwebp, libde265 and libheif from their sources, fetched once (also by scripts/setup.sh).
"$FERNWICK_ROOT/scripts/lib/fetch-sources.sh"

werror=(-DFERNWICK_WERROR=ON)
win_settings=(-DFERNWICK_JPEG_SOURCE="$FERNWICK_JPEG_SOURCE" -DFERNWICK_DEPS_DIR="$FERNWICK_DEPS" -DFERNWICK_SERVER_PORT="$FERNWICK_LOCAL_PORT" -DFERNWICK_WEB_BASE="http://127.0.0.1:$FERNWICK_LOCAL_PORT" "$@")

# New trees are made for Ninja, which starts a compile sooner than make's recursive Makefiles
# (a tree made earlier keeps the generator it has).
generator=()
command -v ninja >/dev/null && generator=(-G Ninja)

configure() {  # dir, extra args...
  local dir="$1"; shift
  if [[ ! -f "$dir/CMakeCache.txt" ]]; then
    cmake -S "$FERNWICK_ROOT" -B "$dir" "${generator[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo "${werror[@]}" "$@" >/dev/null
  else
    cmake -S "$FERNWICK_ROOT" -B "$dir" "$@" >/dev/null
  fi
}

if [[ "${FERNWICK_ONLY_I686:-0}" != 1 ]]; then
  phase "native tree"
  configure "$FERNWICK_NATIVE_BUILD"
  cmake --build "$FERNWICK_NATIVE_BUILD" -j "$FERNWICK_JOBS"

  phase "Windows tree (x86_64)"
  configure "$FERNWICK_WIN_BUILD" -DCMAKE_TOOLCHAIN_FILE="$FERNWICK_ROOT/cmake/toolchain-mingw-x86_64.cmake" \
    "${win_settings[@]}"
  # The libraries one at a time first, so that the phase lines show what each costs.
  for library in libjpeg_turbo libwebp libheif; do
    phase "Windows tree (x86_64): $library"
    cmake --build "$FERNWICK_WIN_BUILD" -j "$FERNWICK_JOBS" --target "${library}_build"
  done
  phase "Windows tree (x86_64): the program and its tests"
  cmake --build "$FERNWICK_WIN_BUILD" -j "$FERNWICK_JOBS"
fi

if [[ "${FERNWICK_SKIP_I686:-0}" != 1 ]]; then
  phase "Windows tree (i686, build only)"
  configure "$FERNWICK_WIN32_BUILD" -DCMAKE_TOOLCHAIN_FILE="$FERNWICK_ROOT/cmake/toolchain-mingw-i686.cmake" \
    "${win_settings[@]}"
  cmake --build "$FERNWICK_WIN32_BUILD" -j "$FERNWICK_JOBS" --target fernwick
fi
phase "trees built"
