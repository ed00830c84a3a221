#!/usr/bin/env bash
# How the main window answers while 200 JPEG photos of 4000 x 3000 are added (limit 1024):
# add_responsiveness.exe under Wine adds them through the real window while a second thread
# sends it WM_NULL every 5 ms; prints the longest wait for an answer, the add's wall time and
# the peak working set. Printed, never asserted; aims: longest wait under 50 ms, peak under
# 400 MB. Needs scripts/build.sh first.
# Usage: scripts/bench-adding.sh [count, default 200] [sync]   ("sync": the old way, for comparison)
# BENCH_SHOT=file.png also saves a picture of the screen in the middle of the add.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh"
count="${1:-200}"
mode="${2:-}"
bench="$FERNWICK_BUILD/bench-adding"
exe="$FERNWICK_WIN_BUILD/tools/add_responsiveness.exe"
[[ -f "$exe" ]] || { say "no add_responsiveness.exe: run scripts/build.sh first"; exit 1; }

mkdir -p "$bench/photos"
if [[ ! -f "$bench/photos/$((count - 1)).jpg" ]]; then
  say "making $count photos of 4000 x 3000"
  # Four different pictures, each copied to a quarter of the names: every file is decoded anyway.
  for v in 0 1 2 3; do
    [[ -f "$bench/scene$v.jpg" ]] || convert -size 4000x3000 -seed "$((v + 1))" plasma:fractal -quality 90 "$bench/scene$v.jpg"
  done
  for ((i = 0; i < count; i++)); do cp "$bench/scene$((i % 4)).jpg" "$bench/photos/$i.jpg"; done
fi

# The program's settings and work directories in a profile of the benchmark's own.
export FERNWICK_USER_DIR="Z:$bench/user" FERNWICK_LOG_DIR="Z:$bench/log"
start_xvfb_if_needed
finish() {
  wait_for_wine
  stop_xvfb
}
trap finish EXIT

shot=""
if [[ -n "${BENCH_SHOT:-}" ]]; then
  (sleep 12 && import -window root "$BENCH_SHOT" && echo "screen saved in $BENCH_SHOT") &
  shot=$!
fi
"$FERNWICK_ROOT/scripts/lib/wine-run.sh" "$exe" "Z:$bench/photos" "$count" $mode | tr -d '\r'
# Only the screenshot's job: a plain wait would also wait for the Xvfb started above.
[[ -z "$shot" ]] || wait "$shot"
