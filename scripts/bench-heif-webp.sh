#!/usr/bin/env bash
# Figures for adding phone photos, under Wine on this machine (printed, never asserted): 24 HEIC and
# 24 WebP photos of 4032 x 3024 added with the size limit 1024 through the real main window
# (add_responsiveness.exe: the add's wall time and its own share of the processors, nearly 200 %
# when both workers are busy, the window's longest wait for an answer, the peak working set; the
# whole run's user and kernel seconds and share, Wine's start included, by /usr/bin/time), next to
# vipsthumbnail (Debian's libvips reads both through the same libraries) making the same 1024-pixel
# JPEG copies of the same files, in turns, FERNWICK_BENCH_ROUNDS rounds (default 2). Aims: HEIC at
# most 0.8 x vipsthumbnail's time, WebP at most 0.6 x; peak memory under 400 MB; longest wait under
# 50 ms. Then where one HEIC's and one WebP's adding spends its processor time, stage by stage
# (heif_stage_bench.exe). Needs scripts/build.sh first.
# Usage: scripts/bench-heif-webp.sh [work directory, default build/bench-heif-webp]
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh"

ensure_packages libvips-tools imagemagick libheif-examples webp bc time
work="${1:-$FERNWICK_BUILD/bench-heif-webp}"
count=24
exe="$FERNWICK_WIN_BUILD/tools/add_responsiveness.exe"
[[ -f "$exe" ]] || { say "no add_responsiveness.exe: run scripts/build.sh first"; exit 1; }

mkdir -p "$work/heic" "$work/webp" "$work/vips"
if [[ ! -f "$work/webp/$((count - 1)).webp" ]]; then
  say "Making $count HEIC and $count WebP photos of 4032 x 3024 in $work"
  # Four different scenes, each under a quarter of the names: every file is decoded anyway.
  for v in 0 1 2 3; do
    convert -size 4032x3024 -seed "$((v + 1))" plasma:fractal -quality 92 "$work/scene$v.jpg"
    # x265's fastest preset: the pictures are made quickly; decoding them costs much the same.
    heif-enc -q 60 -p preset=ultrafast "$work/scene$v.jpg" -o "$work/scene$v.heic" >/dev/null
    cwebp -quiet -q 80 "$work/scene$v.jpg" -o "$work/scene$v.webp"
  done
  for ((i = 0; i < count; i++)); do
    cp "$work/scene$((i % 4)).heic" "$work/heic/$i.heic"
    cp "$work/scene$((i % 4)).webp" "$work/webp/$i.webp"
  done
fi

export FERNWICK_USER_DIR="Z:$work/user" FERNWICK_LOG_DIR="Z:$work/log"
start_xvfb_if_needed
finish() {
  wait_for_wine
  stop_xvfb
}
trap finish EXIT

field() { tr ' ' '\n' <<<"$2" | awk -F= -v k="$1" '$1 == k {print $2}'; }
# Prints "wall=S processor=S": vipsthumbnail's wall time and its user and kernel time together.
time_vips() {  # kind
  /usr/bin/time -f 'wall=%e processor=%U+%S' -o "$work/vips-time.txt" \
    vipsthumbnail --size '1024x1024>' -o "$work/vips/%s.jpg[Q=90]" "$work/$1"/*."$1"
  local line
  line="$(tail -1 "$work/vips-time.txt")"
  echo "wall=$(field wall "$line") processor=$(echo "${line#*processor=}" | bc -l)"
}

rounds="${FERNWICK_BENCH_ROUNDS:-2}"
load_before="$(cut -d' ' -f1-3 /proc/loadavg)"
lines=()
for ((round = 1; round <= rounds; ++round)); do
  for kind in heic webp; do
    say "Round $round of $rounds: $kind, the program then vipsthumbnail"
    out="$(/usr/bin/time -f 'user=%U sys=%S cpu=%P' -o "$work/time.txt" \
      "$FERNWICK_ROOT/scripts/lib/wine-run.sh" "$exe" "Z:$work/$kind" "$count" "$kind" | tr -d '\r' | grep '^mode=')"
    run="$(tail -1 "$work/time.txt")"
    vips="$(time_vips "$kind")"
    vips_s="$(field wall "$vips")"
    seconds="$(field seconds "$out")"
    # Processor seconds are what a busy machine leaves comparable: the wall ratio moves with the
    # others' load, the work done for the photos does not.
    add_cpu="$(echo "$seconds * $(field add_cpu_percent "$out") / 100" | bc -l)"
    printf -v line '%-6s round %d: %2s added in %6.2f s (CPU %s %%), vipsthumbnail %6.2f s, ratio %.2f; processor %.2f s vs %.2f s, ratio %.2f; longest wait %s ms; peak %s MB; run user %s s, sys %s s, CPU %s' \
      "$kind" "$round" "$(field photos "$out")" "$seconds" "$(field add_cpu_percent "$out")" "$vips_s" \
      "$(echo "$seconds / $vips_s" | bc -l)" "$add_cpu" "$(field processor "$vips")" \
      "$(echo "$add_cpu / $(field processor "$vips")" | bc -l)" \
      "$(field longest_wait_ms "$out")" "$(field peak_working_set_mb "$out")" "$(field user "$run")" \
      "$(field sys "$run")" "$(field cpu "$run")"
    lines+=("$line")
  done
done
say "Stages of one HEIC and one WebP photo (processor milliseconds)"
stages=""
# A WebP's stages are short, and Wine counts processor time in ticks of 10 ms: more runs.
for scene_runs in scene0.heic:3 scene0.webp:12; do
  stages+="$("$FERNWICK_ROOT/scripts/lib/wine-run.sh" "$FERNWICK_WIN_BUILD/tools/heif_stage_bench.exe" \
    "Z:$work/${scene_runs%:*}" 1024 "${scene_runs#*:}" | tr -d '\r')"$'\n'
done
printf '\n%s\n' "${lines[@]}"
printf '\n%s\n' "$stages"
printf '%-28s %s (before) / %s (after)\n' "load average (1, 5, 15 min)" "$load_before" "$(cut -d' ' -f1-3 /proc/loadavg)"
printf '%-28s %s\n' "aims" "HEIC ratio <= 0.8, WebP ratio <= 0.6, longest wait < 50 ms, peak < 400 MB"
