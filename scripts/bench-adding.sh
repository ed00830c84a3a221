#!/usr/bin/env bash
# How the main window answers while 200 JPEG photos of 4000 x 3000 are added (limit 1024):
# add_responsiveness.exe under Wine adds them through the real window while a second thread
# sends it WM_NULL every 5 ms; prints the longest wait for an answer, the add's wall time and
# the peak working set. Printed, never asserted; aims: longest wait under 50 ms, peak under
# 400 MB. Needs scripts/build.sh first.
# Usage: scripts/bench-adding.sh [count, default 200] [sync]   ("sync": the old way, for comparison)
# BENCH_SHOT=file.png also saves a picture of the screen in the middle of the add.
#
# scripts/bench-adding.sh small [count ...]   (default 1000; e.g. "small 1000 10000")
# Adding small JPEGs (640 x 480, within the limit: each is sent as it is and only its thumbnail
# is made) through the real window, against vipsthumbnail making their thumbnails of the 96-DPI
# box (100 pixels) in one process for all the files. Prints each count's seconds (the best of
# FERNWICK_BENCH_ROUNDS adds, 3 unless set) and the ratio to vips (aim: at most 0.5), and each
# count's time over the first count's, per photo (aim: at most 1.0, that is 10,000 in at most
# 10 x the time of 1,000).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh"
bench="$FERNWICK_BUILD/bench-adding"
# BENCH_EXE=another add_responsiveness.exe (an older build, say) for a comparison.
exe="${BENCH_EXE:-$FERNWICK_WIN_BUILD/tools/add_responsiveness.exe}"
[[ -f "$exe" ]] || { say "no add_responsiveness.exe: run scripts/build.sh first"; exit 1; }
# The program's settings and work directories in a profile of the benchmark's own.
export FERNWICK_USER_DIR="Z:$bench/user" FERNWICK_LOG_DIR="Z:$bench/log"
start_xvfb_if_needed
finish() {
  wait_for_wine
  stop_xvfb
}
trap finish EXIT

if [[ "${1:-}" == small ]]; then
  shift
  counts=("${@:-1000}")
  rounds="${FERNWICK_BENCH_ROUNDS:-3}"
  small="$bench/small"
  mkdir -p "$small/photos" "$small/vips"
  for v in 0 1 2 3; do
    [[ -f "$small/scene$v.jpg" ]] || convert -size 640x480 -seed "$((v + 1))" plasma:fractal -quality 90 "$small/scene$v.jpg"
  done
  first_count="" first_s=""
  for count in "${counts[@]}"; do
    # Hard links: each a file of its own name, without the disk's room for 10,000 copies.
    for ((i = 0; i < count; i++)); do
      [[ -f "$small/photos/$i.jpg" ]] || ln "$small/scene$((i % 4)).jpg" "$small/photos/$i.jpg"
    done
    files=()
    for ((i = 0; i < count; i++)); do files+=("$small/photos/$i.jpg"); done
    # The best of a few adds: one add's time varies by a tenth from run to run here.
    seconds=""
    for ((round = 0; round < rounds; round++)); do
      out="$("$FERNWICK_ROOT/scripts/lib/wine-run.sh" "$exe" "Z:$small/photos" "$count" | tr -d '\r')"
      say "$out"
      s="$(grep -Eo 'seconds=[0-9.]+' <<<"$out" | head -1 | cut -d= -f2)"
      if [[ -z "$seconds" ]] || (($(echo "$s < $seconds" | bc -l))); then seconds="$s"; fi
    done
    start="$(date +%s.%N)"
    vipsthumbnail --size 100 -o "$small/vips/%s.jpg[Q=85]" "${files[@]}"
    vips_s="$(echo "$(date +%s.%N) - $start" | bc -l)"
    printf '%6d photos: %.2f s; vipsthumbnail %.2f s; ratio %.2f (aim <= 0.50)\n' \
      "$count" "$seconds" "$vips_s" "$(echo "$seconds / $vips_s" | bc -l)"
    if [[ -z "$first_count" ]]; then
      first_count="$count" first_s="$seconds"
    else
      printf '%6d photos / %d photos: %.2f x the time for %.1f x the photos; per photo %.2f (aim <= 1.00)\n' \
        "$count" "$first_count" "$(echo "$seconds / $first_s" | bc -l)" "$(echo "$count / $first_count" | bc -l)" \
        "$(echo "($seconds / $count) / ($first_s / $first_count)" | bc -l)"
    fi
  done
  printf 'load average (1, 5, 15 min): %s\n' "$(cut -d' ' -f1-3 /proc/loadavg)"
  exit 0
fi

count="${1:-200}"
mode="${2:-}"

mkdir -p "$bench/photos"
if [[ ! -f "$bench/photos/$((count - 1)).jpg" ]]; then
  say "making $count photos of 4000 x 3000"
  # Four different pictures, each copied to a quarter of the names: every file is decoded anyway.
  for v in 0 1 2 3; do
    [[ -f "$bench/scene$v.jpg" ]] || convert -size 4000x3000 -seed "$((v + 1))" plasma:fractal -quality 90 "$bench/scene$v.jpg"
  done
  for ((i = 0; i < count; i++)); do cp "$bench/scene$((i % 4)).jpg" "$bench/photos/$i.jpg"; done
fi

shot=""
if [[ -n "${BENCH_SHOT:-}" ]]; then
  (sleep 12 && import -window root "$BENCH_SHOT" && echo "screen saved in $BENCH_SHOT") &
  shot=$!
fi
"$FERNWICK_ROOT/scripts/lib/wine-run.sh" "$exe" "Z:$bench/photos" "$count" $mode | tr -d '\r'
# Only the screenshot's job: a plain wait would also wait for the Xvfb started above.
[[ -z "$shot" ]] || wait "$shot"
