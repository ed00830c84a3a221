#!/usr/bin/env bash
# The wheel notch in the photo list's view (printed, never asserted): at 96 and 192 DPI, with
# 1,000 and 10,000 photos, `photo_bench wheel` scrolls down the list notch by notch, back to back
# (each notch onto cells never drawn) and with the window idle before each (the view has drawn
# ahead), and up and down over cells kept drawn (with the thread's processor time), and times each
# notch until its drawing can be read back; "layout" is the layout and paint before the back-to-back
# notches (it makes the cells' bitmaps). Each row beside its aim:
# under 8 ms median and 16.7 ms (a frame at 60 Hz) at worst. Then, for each DPI, where a cell
# never drawn spends the window thread's time: its thumbnail decoded straight into the cell's
# pixels, or into a picture of its own and copied in ("own pic", "set bits"), the cell filled,
# its frame, the picture and frame drawn through GDI, and the whole cell as the cache draws it.
# Usage: scripts/bench-wheel.sh [work directory, default /tmp/fernwick-bench]
# BENCH_EXE=another photo_bench.exe (an older build, say) for a comparison.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh"

work="${1:-/tmp/fernwick-bench}"
mkdir -p "$work"
prepare_bench_tool photo_bench
exe="${BENCH_EXE:-$FERNWICK_WIN_BUILD/tools/photo_bench.exe}"
# Wine's Z: drive is the Unix root.
wine_dir="Z:${work//\//\\}"
run() { "$FERNWICK_ROOT/scripts/lib/wine-run.sh" "$exe" "$@" | tr -d '\r'; }

if [[ ! -f "$work/list/l0999.jpg" ]]; then
  say "Making the pictures in $work"
  run generate "$wine_dir" >/dev/null
fi

load_before="$(cut -d' ' -f1-3 /proc/loadavg)"
printf '%-24s %22s %22s %18s %8s %7s\n' "wheel notch, ms" "back to back: med/worst" "after idle: med/worst" "kept cells (cpu)" \
  "notches" "layout"
cells=()
for dpi in 96 192; do
  for count in 1000 10000; do
    output="$(run wheel "$wine_dir" "$count" "$dpi")"
    line="$(awk '$1 == "wheel"' <<<"$output")"
    [[ $count == 1000 ]] && cells+=("$(awk '$1 == "cell-ms"' <<<"$output")")
    read -r _ n d b2b b2b_worst _ idle idle_worst notches kept kept_cpu layout <<<"$line"
    printf '%-24s %11s / %8s %11s / %8s %9s (%5s) %8s %7s\n' "$n photos at $d DPI" "$b2b" "$b2b_worst" "$idle" \
      "$idle_worst" "$kept" "$kept_cpu" "$notches" "$layout"
  done
done
printf '%-24s %11s / %8s %11s / %8s\n' "aim" "< 8" "< 16.7" "< 8" "< 16.7"
printf '\n%-24s %7s %7s %7s %7s %7s %7s %7s\n' "a cell never drawn, ms" "decode" "own pic" "set bits" fill frame \
  "picture" "cell"
for line in "${cells[@]}"; do
  read -r _ d decode shown set_bits fill frame picture cell _ <<<"$line"
  printf '%-24s %7s %7s %7s %7s %7s %7s %7s\n' "at $d DPI" "$decode" "$shown" "$set_bits" "$fill" "$frame" \
    "$picture" "$cell"
done
printf 'load average (1, 5, 15 min): %s (before) / %s (after)\n' "$load_before" "$(cut -d' ' -f1-3 /proc/loadavg)"
