#!/usr/bin/env bash
# Builds a release of the program and packs it for Windows users:
#   build/release/Fernwick-<version>-setup.exe     per-user installer (NSIS)
#   build/release/Fernwick-<version>-portable.zip  the same files to unpack anywhere
# from a release build of its own, build/release-tree. The server settings of the build are
# cmake -D options after the script's name, as for scripts/build.sh (README: "Building for a
# real deployment"), e.g.
#   scripts/package.sh -DFERNWICK_SERVER_HOST=upload.example.com -DFERNWICK_WEB_BASE=http://photos.example.com
# Options given once stay in the tree's cache for later runs.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh"

# What configuring and building the Windows tree needs (GoogleTest's sources are configured
# with it; nasm compiles libjpeg-turbo's SIMD code, dpkg-dev unpacks its source package).
ensure_packages g++-mingw-w64-x86-64 mingw-w64-tools cmake make nsis googletest nasm dpkg-dev
"$FERNWICK_ROOT/scripts/lib/fetch-sources.sh"

tree="$FERNWICK_BUILD/release-tree"
if [[ ! -f "$tree/CMakeCache.txt" ]]; then
  # -O2, as the tested trees (RelWithDebInfo) are built, rather than Release's -O3: GCC 12 warns
  # wrongly about overlapping copies in std::string at -O3, and warnings are errors here too.
  cmake -S "$FERNWICK_ROOT" -B "$tree" -DCMAKE_TOOLCHAIN_FILE="$FERNWICK_ROOT/cmake/toolchain-mingw-x86_64.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" -DCMAKE_C_FLAGS_RELEASE="-O2 -DNDEBUG" \
    -DFERNWICK_WERROR=ON -DFERNWICK_JPEG_SOURCE="$FERNWICK_JPEG_SOURCE" "$@" >/dev/null
else
  cmake -S "$FERNWICK_ROOT" -B "$tree" "$@" >/dev/null
fi
cmake --build "$tree" -j "$FERNWICK_JOBS" --target fernwick

host="$(sed -n 's/^FERNWICK_SERVER_HOST:STRING=//p' "$tree/CMakeCache.txt")"
port="$(sed -n 's/^FERNWICK_SERVER_PORT:STRING=//p' "$tree/CMakeCache.txt")"
say "== the release talks to $host:$port"
[[ "$host" == 127.0.0.1 ]] && say "   (this machine: give -DFERNWICK_SERVER_HOST=... for a real deployment)"

"$FERNWICK_ROOT/scripts/lib/make-installer.sh" "$tree" "$FERNWICK_BUILD/release"
