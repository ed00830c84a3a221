#!/usr/bin/env bash
# Draws the program's pictures with ImageMagick drawing primitives and writes them into res/:
#   toolbar faces 212-216 (enabled) and 228, 231, 232 (disabled), 40 x 40, 24 bits;
#   the photo-site link badge 222 (52 x 17, 24 bits);
#   each of these again for 150 % screens as N + 100 (faces 60 x 60, badge 78 x 26) and for
#   200 % screens as N + 200 (faces 80 x 80, badge 104 x 34), from the same drawings;
#   the window icon 128 (16, 32, 48 pixels);
#   logo.gif (111 x 39; white shows the window background).
# The output is committed; run this again after changing a drawing and commit the result.
#   tools/make_images.sh [output-dir]      (default: res/)
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
out="${1:-$root/res}"
mkdir -p "$out"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

latin_font=/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf
chinese_font=/usr/share/fonts/truetype/wqy/wqy-microhei.ttc
for f in "$latin_font" "$chinese_font"; do
  [[ -f "$f" ]] || { echo "missing font $f (fonts-dejavu-core, fonts-wqy-microhei)" >&2; exit 1; }
done

# One palette for the whole set.
ink=#2f5d8a      # outlines and arrows
sky=#dcebfa      # photo sky
sun=#f2b705
hill=#4c9a52
add=#2e9e44
remove=#d64541
gear=#5a6b7d

# Pictures are drawn at four times their 100 % size and scaled down, which gives clean
# anti-aliased edges at 40 x 40 and at the 60 and 80 pixels of the larger screens. A toolbar button is about 39 x 36 pixels and the thumbnail
# area may start a little higher still, so every drawing keeps to the top 34 rows.
big() { convert -size 160x160 xc:white "$@"; }

# A landscape photo card, the motif the toolbar shares.
photo_card=(-stroke "$ink" -strokewidth 6 -fill "$sky" -draw "roundrectangle 18,12 122,96 10,10"
            -stroke none -fill "$sun" -draw "circle 48,36 48,47"
            -fill "$hill" -draw "polygon 24,92 60,52 82,74 98,58 119,92")

# A round badge at the lower right, filled with `colour` (sets badge_args).
badge() {
  badge_args=(-stroke white -strokewidth 6 -fill "$1" -draw "circle 114,100 114,130")
}

# The face sizes for 100 %, 150 % and 200 % screens, and the number each adds to the id.
face_sizes=("40 0" "60 100" "80 200")

finish_face() {  # big.png id: scale to each face size, 24-bit BMP, named id, id + 100, id + 200
  local entry size step
  for entry in "${face_sizes[@]}"; do
    read -r size step <<<"$entry"
    convert "$1" -filter Lanczos -resize "${size}x${size}" -type TrueColor -define bmp:format=bmp3 \
      "BMP3:$work/$(($2 + step)).bmp"
  done
}

disabled_face() {  # source id, target id: grey and faded, still 24 bits, at every face size
  local entry size step
  for entry in "${face_sizes[@]}"; do
    read -r size step <<<"$entry"
    convert "$work/$(($1 + step)).bmp" -colorspace Gray -fill white -colorize 45% -colorspace sRGB -type TrueColor \
      -define bmp:format=bmp3 "BMP3:$work/$(($2 + step)).bmp"
  done
}

# 212 Add: photo with a green plus.
badge "$add"
big "${photo_card[@]}" "${badge_args[@]}" \
  -stroke white -strokewidth 10 -draw "line 97,100 131,100" -draw "line 114,83 114,117" "$work/add.png"
finish_face "$work/add.png" 212

# 213 Delete: photo with a red cross.
badge "$remove"
big "${photo_card[@]}" "${badge_args[@]}" \
  -stroke white -strokewidth 10 -draw "line 102,88 126,112" -draw "line 126,88 102,112" "$work/delete.png"
finish_face "$work/delete.png" 213

# 214 Rotate left: a smaller photo under an arc that turns counter-clockwise, the arrow
# head at its left end pointing down. 215 is its mirror image.
big -stroke "$ink" -strokewidth 6 -fill "$sky" -draw "roundrectangle 48,54 112,110 8,8" \
  -stroke none -fill "$sun" -draw "circle 66,70 66,78" \
  -fill "$hill" -draw "polygon 52,106 74,82 88,96 98,86 108,106" \
  -fill none -stroke "$ink" -strokewidth 12 -draw "ellipse 80,66 50,50 190,350" \
  -stroke none -fill "$ink" -draw "polygon 8,54 52,54 30,88" "$work/rotate_left.png"
finish_face "$work/rotate_left.png" 214
convert "$work/rotate_left.png" -flop "$work/rotate_right.png"
finish_face "$work/rotate_right.png" 215

# 216 Settings: a gear.
gear_teeth=()
for angle in 0 45 90 135; do
  gear_teeth+=(-draw "translate 78,66 rotate $angle roundrectangle -12,-60 12,60 4,4")
done
big -stroke none -fill "$gear" "${gear_teeth[@]}" -draw "circle 78,66 78,112" \
  -fill white -draw "circle 78,66 78,84" "$work/settings.png"
finish_face "$work/settings.png" 216

disabled_face 213 228
disabled_face 214 231
disabled_face 215 232

# 222: the photo-site link badge, "我的相册" (my album) on the program's blue; 322 and 422 the
# same drawn twice as large, for the larger screens' 78 x 26 and 104 x 34.
convert -size 208x68 xc:white -stroke none -fill "$ink" -draw "roundrectangle 0,0 207,67 14,14" \
  -font "$chinese_font" -pointsize 40 -fill white -gravity center -annotate +0+0 "我的相册" \
  -filter Lanczos -resize 52x17\! -type TrueColor -define bmp:format=bmp3 "BMP3:$work/222.bmp"
convert -size 416x136 xc:white -stroke none -fill "$ink" -draw "roundrectangle 0,0 415,135 28,28" \
  -font "$chinese_font" -pointsize 80 -fill white -gravity center -annotate +0+0 "我的相册" "$work/badge.png"
convert "$work/badge.png" -filter Lanczos -resize 78x26\! -type TrueColor -define bmp:format=bmp3 "BMP3:$work/322.bmp"
convert "$work/badge.png" -filter Lanczos -resize 104x34\! -type TrueColor -define bmp:format=bmp3 "BMP3:$work/422.bmp"

# Window icon: a photo card with an upload arrow, on a rounded blue tile.
icon_big() {
  convert -size 256x256 xc:none -stroke none -fill "$ink" -draw "roundrectangle 8,8 247,247 40,40" \
    -stroke white -strokewidth 10 -fill "$sky" -draw "roundrectangle 40,76 196,208 14,14" \
    -stroke none -fill "$sun" -draw "circle 84,116 84,132" \
    -fill "$hill" -draw "polygon 46,202 104,140 140,176 164,152 190,202" \
    -fill white -draw "polygon 176,24 230,86 196,86 196,130 156,130 156,86 122,86" "$work/icon.png"
}
icon_big
for size in 16 32 48; do
  convert "$work/icon.png" -filter Lanczos -resize "${size}x${size}" -define png:exclude-chunks=date,time \
    "PNG32:$work/icon$size.png"
done
convert "$work/icon16.png" "$work/icon32.png" "$work/icon48.png" "$work/128.ico"

# logo.gif: a small fern frond beside the name, on white (drawn transparent by the program).
frond=(-stroke "$hill" -strokewidth 6 -fill none -draw "bezier 40,140 52,100 60,60 84,16")
for i in 0 1 2 3 4; do
  y=$((124 - i * 24)); x=$((46 + i * 8)); len=$((34 - i * 5))
  frond+=(-stroke none -fill "$hill" -draw "ellipse $((x - len / 2 - 2)),$((y - 6)) $((len / 2 + 2)),7 0,360"
          -draw "ellipse $((x + len / 2 + 2)),$((y - 10)) $((len / 2 + 2)),7 0,360")
done
convert -size 444x156 xc:white "${frond[@]}" \
  -font "$latin_font" -pointsize 64 -fill "$ink" -stroke none -annotate +104+104 "Fernwick" \
  -filter Lanczos -resize 111x39\! -colors 64 "$work/logo.gif"

for f in 212 213 214 215 216 228 231 232 222; do
  for step in 0 100 200; do cp "$work/$((f + step)).bmp" "$out/bitmap_$((f + step)).bmp"; done
done
cp "$work/128.ico" "$out/icon_128.ico"
cp "$work/logo.gif" "$out/logo.gif"
echo "pictures written to $out"
