#!/usr/bin/env bash
# The photo list's memory under Wine (printed, never asserted): `photo_bench memory` adds
# FERNWICK_BENCH_LIST_COUNT photos (10,000 unless set; 640 x 480 JPEGs, hard links to 1,000
# pictures) to a grid of each DPI (96 and 192 unless given) and prints, beside the aims:
#  - the average per photo with 1,000 and with all (the growth of the committed memory from the
#    empty list, over the count: fixed costs such as the drawn cells are shared out in it);
#  - the marginal cost, (memory with all - memory with 1,000) / (count - 1,000): what one more
#    listed photo costs, which the aim "at most 10 KB per listed photo" is about;
#  - the working set with all, and once scrolling has filled the drawn cells the view keeps;
#  - where a photo's bytes go, and the fixed cost of the drawn cells.
# Usage: scripts/bench-memory.sh [DPI ...]   (the pictures in FERNWICK_BENCH_DIR, default
# /tmp/fernwick-bench, made by photo_bench generate when missing)
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh"

work="${FERNWICK_BENCH_DIR:-/tmp/fernwick-bench}"
count="${FERNWICK_BENCH_LIST_COUNT:-10000}"
dpis=("${@:-96}")
[[ $# -gt 0 ]] || dpis=(96 192)
prepare_bench_tool photo_bench
exe="$FERNWICK_WIN_BUILD/tools/photo_bench.exe"
wine_dir="Z:${work//\//\\}"
run() { "$FERNWICK_ROOT/scripts/lib/wine-run.sh" "$exe" "$@" | tr -d '\r'; }
mkdir -p "$work"
[[ -f "$work/list/l0999.jpg" ]] || run generate "$wine_dir" >/dev/null

printf '%-8s %-44s %12s %10s\n' "DPI" "figure" "value" "aim"
for dpi in "${dpis[@]}"; do
  out="$(run memory "$wine_dir" "$count" "$dpi")"
  value() { awk -v k="$1" '$1 == k {print $2}' <<<"$out"; }
  row() { printf '%-8s %-44s %12s %10s\n' "$dpi" "$1" "$2" "$3"; }
  row "average per photo, 1,000 photos (a)" "$(value memory-at-1000-per-photo-kb) KB" ""
  row "average per photo, $count photos (a)" "$(value memory-per-photo-kb) KB" ""
  row "marginal per photo, 1,000 to $count" "$(value memory-marginal-per-photo-kb) KB" "<= 10 KB"
  row "working set, $count photos" "$(value working-set-1000) MB" "< 250 MB"
  row "working set, then scrolled" "$(value working-set-scrolled) MB" "< 250 MB"
  row "committed, then scrolled" "$(value memory-scrolled) MB" ""
  row "  thumbnail JPEG (spare)" "$(value bytes-thumbnail-jpeg) B ($(value bytes-jpeg-spare))" ""
  row "  item, its strings, path set" "$(value bytes-photo-item) + $(value bytes-item-strings) + $(value bytes-path-set) B" ""
  row "  heap, per photo past 1,000: blocks" "$(value heap-blocks-marginal-per-photo)" ""
  row "  heap: used / its overhead / left free" "$(value heap-used-marginal-per-photo) / $(value heap-overhead-marginal-per-photo) / $(value heap-free-marginal-per-photo) B" ""
  row "  accounted per photo" "$(value bytes-accounted-per-photo) B" ""
  row "  drawn cells, after scrolling" "$(value scrolled-drawn-cells) / $(value scrolled-drawn-cells-kb) KB" ""
  row "adding $count photos" "$(value list-add-seconds) s" ""
done
printf '%s\n' "(a) with the cells drawn so far shared out over the photos: the aim is the marginal cost"
printf '%-44s %s\n' "load average (1, 5, 15 min)" "$(cut -d' ' -f1-3 /proc/loadavg)"
