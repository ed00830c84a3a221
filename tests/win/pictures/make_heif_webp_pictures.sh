#!/usr/bin/env bash
# Makes the HEIF and WebP pictures of the Windows tests into the folder given (nothing of them is
# kept in the tree), from a scene of four quadrants (red, green, blue, yellow: the colours of
# tests/win/support/photo_test_pictures.h) of 320 x 240 as it stands upright. Each file but
# heic-nclx-p3.heic (colours as code points alone) carries a Display P3 profile (libvips' own) and the EXIF of tests/common/exif_fixture.h (date taken,
# camera, position, pixel size, an embedded thumbnail), as a phone's do; display-p3.icc is left
# beside them for the tests to compare. Debian 12's heif-enc writes no grid
# images, so none is made.
set -euo pipefail
out="$1"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
mkdir -p "$out"
cd "$out"
rm -f -- *.heic *.webp *.jpg *.png *.txt

quadrants() { convert \( xc:red xc:'#00C000' +append \) \( xc:blue xc:yellow +append \) -append -scale 320x240! "$@"; }
convert -size 8x8 xc:red plain.png
vips icc_transform plain.png p3.png p3
exiftool -q -b -ICC_Profile p3.png > display-p3.icc
convert -size 16x12 xc:gray thumbnail.jpg
metadata() {
  exiftool -q -overwrite_original -DateTimeOriginal='2024:05:17 08:30:12' -Make='Fernwick Optics' -Model='FW-12 Pro' \
    -GPSLatitude='31 14 0' -GPSLatitudeRef=N -ExifImageWidth=320 -ExifImageHeight=240 '-ThumbnailImage<=thumbnail.jpg' "$@"
}

quadrants -profile display-p3.icc -quality 95 scene.jpg
quadrants -profile display-p3.icc -depth 16 PNG48:scene16.png

heif-enc -q 90 scene.jpg -o heic.heic >/dev/null
heif-enc -b 10 -q 90 scene16.png -o heic-10bit.heic >/dev/null
# Stored on its side (a quarter turn clockwise) with irot turning it back, and EXIF saying the
# same as a phone's does; stored mirrored left to right with imir mirroring it back.
convert scene.jpg -rotate 90 turned.jpg
heif-enc -q 90 turned.jpg -o heic-irot.heic >/dev/null
python3 "$here/heif_transform.py" heic-irot.heic irot 1
convert scene.jpg -flop mirrored.jpg
heif-enc -q 90 mirrored.jpg -o heic-imir.heic >/dev/null
python3 "$here/heif_transform.py" heic-imir.heic imir 1
convert scene16.png -flop PNG48:mirrored16.png
heif-enc -b 10 -q 90 mirrored16.png -o heic-10bit-imir.heic >/dev/null
python3 "$here/heif_transform.py" heic-10bit-imir.heic imir 1
metadata heic.heic heic-10bit.heic heic-imir.heic heic-10bit-imir.heic
metadata -Orientation#=6 heic-irot.heic

quadrants scene.png
# Colours given only as code points: Display P3 primaries, sRGB's curve, BT.709's matrix at
# limited range (what heif-enc encodes with; it writes no colr box of its own).
heif-enc -q 90 --colour_primaries 12 --transfer_characteristic 13 --matrix_coefficients 1 --full_range_flag 0 \
  scene.png -o heic-nclx-p3.heic >/dev/null
python3 "$here/heif_transform.py" heic-nclx-p3.heic nclx 12,13,1,0
metadata heic-nclx-p3.heic
cwebp -quiet -q 90 scene.png -o webp-lossy.webp
cwebp -quiet -lossless scene.png -o webp-lossless.webp
# The left half half-transparent black: over white it comes out mid grey, not dark.
convert \( -size 160x240 xc:'rgba(0,0,0,0.5)' \) \( scene.png -crop 160x240+160+0 +repage \) +append alpha.png
cwebp -quiet -lossless -exact alpha.png -o webp-alpha.webp
# PNG32: heif-enc reads a palette PNG without its transparency.
convert alpha.png +repage -profile display-p3.icc PNG32:alpha-p3.png
heif-enc -q 90 alpha-p3.png -o heic-alpha.heic >/dev/null
metadata heic-alpha.heic
convert -size 320x240 xc:black black.png
img2webp -loop 0 -lossy scene.png -d 200 black.png -o webp-animated.webp >/dev/null 2>&1
metadata -ICC_Profile'<='display-p3.icc webp-lossy.webp webp-lossless.webp webp-alpha.webp webp-animated.webp

# Headers claiming 20000 x 20000 pixels: a HEIC's ispe, a WebP's VP8X canvas.
python3 - <<'CLAIM'
heic = bytearray(open("heic.heic", "rb").read())
at = heic.index(b"ispe") + 8
heic[at:at + 8] = (20000).to_bytes(4, "big") * 2
open("heic-huge.heic", "wb").write(heic)
webp = bytearray(open("webp-alpha.webp", "rb").read())
assert webp[12:16] == b"VP8X"
webp[24:30] = (19999).to_bytes(3, "little") * 2
open("webp-huge.webp", "wb").write(webp)
CLAIM
# A HEIC named as a JPEG still is one; a text file named as a HEIC is none.
cp heic.heic heic-named.jpg
echo "not a picture" > text.heic
rm -f plain.png p3.png thumbnail.jpg scene.jpg scene16.png turned.jpg mirrored.jpg mirrored16.png scene.png alpha.png black.png
