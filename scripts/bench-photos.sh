#!/usr/bin/env bash
# Figures for the photo list, under Wine on this machine (printed, never asserted):
#  - adding 50 JPEG pictures of 4000 x 3000 (over 3 MB each, with a camera's fine detail) and
#    50 PNG pictures of 1000 x 800 with the size limit 1024, next to ImageMagick doing the same
#    scaling and JPEG encoding on the same files with one thread (`-resize 1024x1024>` shrinks
#    only, as the program does) and, for the JPEG pictures, next to vipsthumbnail (one process
#    for all the files, its own threads), in turns, FERNWICK_BENCH_ROUNDS rounds (default 3);
#  - how close the program's working copy and ImageMagick's come to two reference shrinkings of
#    the original (ImageMagick's Lanczos distortion, and the plain average of the pixels each
#    copy pixel covers), in PSNR: higher is closer;
#  - with 1,000 photos in the list (FERNWICK_BENCH_LIST_COUNT, at FERNWICK_BENCH_LIST_DPI, 96
#    unless set; the window and the grid scaled to it): milliseconds from a click to the repainted selection and
#    from a turn to the repainted cell (median of 200), a wheel notch, a full repaint;
#  - process memory with 0 and with 1,000 photos, per photo.
# Usage: scripts/bench-photos.sh [work directory, default /tmp/fernwick-bench]
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh"

ensure_packages libvips-tools imagemagick bc

work="${1:-/tmp/fernwick-bench}"
tools="$("$FERNWICK_ROOT/scripts/lib/photo-tools.sh")"
mkdir -p "$work"
# Wine's Z: drive is the Unix root.
wine_dir="Z:${work//\//\\}"
run() { "$FERNWICK_ROOT/scripts/lib/wine-run.sh" "$tools/photo_bench.exe" "$@" | tr -d '\r'; }

start_xvfb_if_needed
finish() {
  wait_for_wine
  stop_xvfb
}
trap finish EXIT

# Pictures of an older generator (without detail) are made again.
if [[ ! -f "$work/list/l0999.jpg" || $(stat -c %s "$work/j0000.jpg" 2>/dev/null || echo 0) -lt 3000000 ]]; then
  say "Making the pictures in $work"
  run generate "$wine_dir" >/dev/null
fi

magick=/usr/bin/convert
[[ -x "$magick" ]] || magick=convert
mkdir -p "$work/magick" "$work/vips"
time_magick() {  # pattern
  local start end
  start=$(date +%s.%N)
  for f in "$work"/$1; do
    "$magick" -limit thread 1 "$f" -resize '1024x1024>' -quality 90 "$work/magick/$(basename "${f%.*}").jpg"
  done
  end=$(date +%s.%N)
  echo "$end - $start" | bc -l
}
time_vips() {
  local start
  start=$(date +%s.%N)
  vipsthumbnail --size '1024x1024>' -o "$work/vips/%s.jpg[Q=90]" "$work"/j*.jpg
  echo "$(date +%s.%N) - $start" | bc -l
}

# The machine may be shared: the program and the two tools take turns, round after round, so
# that a passing load falls on all of them alike; each round's ratios are kept, and the best and
# the worst are printed with the load average.
rounds="${FERNWICK_BENCH_ROUNDS:-3}"
load_before="$(cut -d' ' -f1-3 /proc/loadavg)"
jpeg_vips_ratios=() jpeg_magick_ratios=() png_magick_ratios=() round_lines=()
for ((round = 1; round <= rounds; ++round)); do
  say "Round $round of $rounds: the program, vipsthumbnail, ImageMagick"
  add="$(run add "$wine_dir")"
  jpeg_s=$(awk '/^add jpeg/ {print $3}' <<<"$add")
  png_s=$(awk '/^add png/ {print $3}' <<<"$add")
  vips_jpeg_s=$(time_vips)
  magick_jpeg_s=$(time_magick 'j*.jpg')
  magick_png_s=$(time_magick 'p*.png')
  jpeg_vips_ratios+=("$(echo "$jpeg_s / $vips_jpeg_s" | bc -l)")
  jpeg_magick_ratios+=("$(echo "$jpeg_s / $magick_jpeg_s" | bc -l)")
  png_magick_ratios+=("$(echo "$png_s / $magick_png_s" | bc -l)")
  printf -v round_line 'round %d: JPEG %.2fs, vips %.2fs, ImageMagick %.2fs; PNG %.2fs, ImageMagick %.2fs' \
    "$round" "$jpeg_s" "$vips_jpeg_s" "$magick_jpeg_s" "$png_s" "$magick_png_s"
  round_lines+=("$round_line")
done
load_after="$(cut -d' ' -f1-3 /proc/loadavg)"
best_worst() { printf '%s\n' "$@" | sort -g | awk 'NR == 1 {b = $1} {w = $1} END {printf "%.2f / %.2f", b, w}'; }

say "Comparing with reference shrinkings of the original"
read -r ref_w ref_h < <(/usr/bin/identify -format '%w %h\n' "$work/fernwick-j0000.jpg")
/usr/bin/convert "$work/j0000.jpg" -filter Lanczos -distort Resize "${ref_w}x${ref_h}!" "$work/reference-lanczos.png"
/usr/bin/convert "$work/j0000.jpg" -scale "${ref_w}x${ref_h}!" "$work/reference-average.png"
psnr() {  # picture, reference; compare exits 1 when the pictures differ
  { /usr/bin/compare -metric PSNR "$1" "$2" null: 2>&1 || true; } | awk '{print $1}'
}
fernwick_psnr=$(psnr "$work/fernwick-j0000.jpg" "$work/reference-lanczos.png")
magick_psnr=$(psnr "$work/magick/j0000.jpg" "$work/reference-lanczos.png")
fernwick_psnr_average=$(psnr "$work/fernwick-j0000.jpg" "$work/reference-average.png")
magick_psnr_average=$(psnr "$work/magick/j0000.jpg" "$work/reference-average.png")
vips_psnr=$(psnr "$work/vips/j0000.jpg" "$work/reference-lanczos.png")
vips_psnr_average=$(psnr "$work/vips/j0000.jpg" "$work/reference-average.png")

say "Measuring the list of 1,000 photos"
list="$(run list "$wine_dir" "${FERNWICK_BENCH_LIST_COUNT:-1000}" "${FERNWICK_BENCH_LIST_DPI:-96}")"
value() { awk -v k="$1" '$1 == k {print $2}' <<<"$list"; }

printf '\n'; printf '%s\n' "${round_lines[@]}"
printf '%-44s %s (before) / %s (after)\n' "load average (1, 5, 15 min)" "$load_before" "$load_after"
printf '\n%-44s %14s %8s\n' "adding (limit 1024), last round" "ratio" "aim"
printf '%-44s %14.2f %8s\n' "50 JPEG 4000 x 3000 / vipsthumbnail" "${jpeg_vips_ratios[-1]}" "<= 0.50"
printf '%-44s %14.2f %8s\n' "50 JPEG 4000 x 3000 / ImageMagick" "${jpeg_magick_ratios[-1]}" "<= 0.25"
printf '%-44s %14.2f %8s\n' "50 PNG 1000 x 800 / ImageMagick" "${png_magick_ratios[-1]}" "<= 1.00"
printf '%-44s %s\n' "best / worst of $rounds rounds, JPEG / vips" "$(best_worst "${jpeg_vips_ratios[@]}")"
printf '%-44s %s\n' "best / worst, JPEG / ImageMagick" "$(best_worst "${jpeg_magick_ratios[@]}")"
printf '%-44s %s\n' "best / worst, PNG / ImageMagick" "$(best_worst "${png_magick_ratios[@]}")"
printf '%-44s %s MB\n' "  size of one JPEG 4000 x 3000" "$(echo "$(stat -c %s "$work/j0000.jpg") / 1048576" | bc -l | cut -c1-4)"
printf '%-44s %s dB (Fernwick) / %s dB (ImageMagick -resize) / %s dB (vips)\n' "  PSNR against a Lanczos distortion" "$fernwick_psnr" "$magick_psnr" "$vips_psnr"
printf '%-44s %s dB (Fernwick) / %s dB (ImageMagick -resize) / %s dB (vips)\n' "  PSNR against the area average" "$fernwick_psnr_average" "$magick_psnr_average" "$vips_psnr_average"
printf '\n%-44s %s at %s DPI\n' "photos in the list" "$(value list-count)" "$(value list-dpi)"
printf '%-44s %s s\n' "adding 1,000 JPEG 640 x 480" "$(value list-add-seconds)"
printf '%-44s %s ms (top) / %s ms (bottom)\n' "click to repainted selection, median" "$(value click-ms-top)" "$(value click-ms-bottom)"
printf '%-44s %s ms (top) / %s ms (bottom)\n' "turn to repainted cell, median" "$(value turn-ms-top)" "$(value turn-ms-bottom)"
printf '%-44s %s ms (%s ms of the thread'"'"'s processor time)\n' "one wheel notch, median" "$(value wheel-notch-ms)" "$(value wheel-notch-cpu-ms)"
printf '%-44s %s ms (median) / %s ms (worst)\n' "  onto cells not drawn before" "$(value wheel-notch-new-ms)" "$(value wheel-notch-new-worst-ms)"
printf '%-44s %s ms\n' "  of it the thread's processor time, mean" "$(value wheel-notch-new-cpu-ms)"
printf '%-44s %s ms (median) / %s ms (worst)\n' "  the same, idle before each notch" "$(value wheel-notch-ahead-ms)" "$(value wheel-notch-ahead-worst-ms)"
printf '%-44s %s ms\n' "  idle time the view draws ahead, median" "$(value drawing-ahead-ms)"
printf '%-44s %s ms\n' "  reading a pixel back (in every figure)" "$(value screen-read-ms)"
printf '%-44s %s ms\n' "full repaint of the view, median" "$(value full-repaint-ms)"
printf '%-44s %s MB / %s MB\n' "committed / working set, 0 photos" "$(value memory-0)" "$(value working-set-0)"
printf '%-44s %s MB / %s MB\n' "committed / working set, 1,000 photos" "$(value memory-1000)" "$(value working-set-1000)"
printf '%-44s %s KB / %s KB\n' "per photo" "$(value memory-per-photo-kb)" "$(value working-set-per-photo-kb)"
printf '%-44s %s KB (%s drawn cells kept, %s KB)\n' "  less the drawn cells kept" "$(value memory-per-photo-less-cells-kb)" "$(value drawn-cells)" "$(value drawn-cells-kb)"
printf '%-44s %s B JPEG, %s B item, %s B strings, %s B path set\n' "  what a photo holds" "$(value bytes-thumbnail-jpeg)" "$(value bytes-photo-item)" "$(value bytes-item-strings)" "$(value bytes-path-set)"
printf '%-44s %s\n' "a cell's steps, ms (median)" "decode $(value cell-decode-ms), draw $(value cell-draw-ms), turned $(value cell-draw-turned-ms), bitmap $(value cell-bitmap-ms)"
printf '%-44s %s\n' "a screen's paint, ms (median)" "kept cells $(value paint-kept-cells-ms), new cells $(value paint-new-cells-ms), scroll alone $(value scroll-unpainted-ms)"
printf '%-44s %s\n' "JPEG library" "$(grep '^jpeg-library' <<<"$list" | cut -d' ' -f2-)"
if grep -q click-frame-missing <<<"$list"; then printf 'WARNING: %s\n' "$(grep click-frame-missing <<<"$list")"; fi
printf '%-44s %s\n' "aims" "click, turn and wheel notch under 16.7 ms; onto new cells under 8 ms median; at most 10 KB per photo"
