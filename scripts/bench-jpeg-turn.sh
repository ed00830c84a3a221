#!/usr/bin/env bash
# Figures for an anticlockwise quarter turn of a 4000 x 3000 JPEG under Wine on this machine (printed, never
# asserted): time and size of the turned copy, made without decoding (libjpeg-turbo's lossless
# transform), by the program's turn at upload (the same, with the metadata carried over), through
# GDI+ as photos used to be turned, and by libjpeg-turbo decoding and encoding at quality 90. Usage: scripts/bench-jpeg-turn.sh [work directory, default /tmp/fernwick-jpeg-bench]
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh"

work="${1:-/tmp/fernwick-jpeg-bench}"
mkdir -p "$work"
prepare_bench_tool jpeg_turn_bench

# Wine's Z: drive is the Unix root.
figures="$("$FERNWICK_ROOT/scripts/lib/wine-run.sh" "$FERNWICK_WIN_BUILD/tools/jpeg_turn_bench.exe" "Z:${work//\//\\}" | tr -d '\r')"
value() { awk -v k="$1" '$1 == k {print $2}' <<<"$figures"; }
original=$(value original-bytes)
printf '%-40s %10s %12s %8s\n' "quarter turn of a 4000 x 3000 JPEG" "time" "bytes" "size"
for way in lossless program gdiplus libjpeg-reencode; do
  bytes=$(value "$way-bytes")
  printf '%-40s %8s ms %12s %7.1f%%\n' "$way" "$(value "$way-ms")" "$bytes" "$(echo "100 * $bytes / $original" | bc -l)"
done
printf '%-40s %11s %12s\n' "original" "" "$original"
printf '%-40s %s\n' "lossless clockwise turn possible (1 = yes)" "$(value lossless-clockwise-possible)"
