#!/usr/bin/env bash
# Installs what is missing (Debian packages, the zh_CN.UTF-8 and en_US.UTF-8 locales) and makes the Wine
# prefix of the Windows build. Idempotent and quiet when everything is there.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh"

packages=(wine wine64 fonts-wine g++-mingw-w64-x86-64 g++-mingw-w64-i686 mingw-w64-tools xvfb xauth imagemagick
          fonts-wqy-microhei fonts-arphic-uming fonts-dejavu-core locales cmake g++ make ninja-build libgtest-dev googletest libcpp-httplib-dev libsqlite3-dev
          clang libclang-rt-14-dev curl x11-utils nasm dpkg-dev patch nsis libheif-examples webp libimage-exiftool-perl libvips-tools python3)
ensure_packages "${packages[@]}"

# zh_CN gives Wine code page 936, the program's home; en_US gives 1252 for the runs that show
# it works on any system language.
for wanted in zh_CN en_US; do
  if ! locale -a 2>/dev/null | grep -qi "^$wanted\.utf-\?8\$"; then
    if [[ $(id -u) -ne 0 ]]; then
      say "The $wanted.UTF-8 locale is missing. Run as root: locale-gen $wanted.UTF-8 (after enabling it in /etc/locale.gen)"
      exit 1
    fi
    sed -i "s/^# *\($wanted.UTF-8 UTF-8\)/\1/" /etc/locale.gen
    grep -q "^$wanted.UTF-8 UTF-8" /etc/locale.gen || echo "$wanted.UTF-8 UTF-8" >> /etc/locale.gen
    locale-gen >/dev/null
  fi
done

# libjpeg-turbo, libwebp, libde265 and libheif have no MinGW packages: the Windows trees build
# them from Debian's own source packages, fetched once into the build folder.
"$FERNWICK_ROOT/scripts/lib/fetch-sources.sh"

# The templates' 宋体 in every prefix: a copy of AR PL UMing whose cell is one em, as 宋体's is
# (see give_prefix_fonts in scripts/lib/common.sh).
if [[ ! -f "$FERNWICK_SONG_FONT" ]]; then
  mkdir -p "$(dirname "$FERNWICK_SONG_FONT")"
  python3 "$FERNWICK_ROOT/scripts/lib/one-em-song.py" /usr/share/fonts/truetype/arphic/uming.ttc 0 \
    "Fernwick Song" "$FERNWICK_SONG_FONT.part" && mv "$FERNWICK_SONG_FONT.part" "$FERNWICK_SONG_FONT"
fi

# The Wine prefix lives in the Windows build folder; made once, as a copy of the build's
# freshly booted one (which gets the fonts above when it is booted).
if [[ ! -f "$FERNWICK_PREFIX/system.reg" ]]; then
  say "Making the Wine prefix in $FERNWICK_PREFIX"
  mkdir -p "$FERNWICK_WIN_BUILD"
  copy_fresh_prefix "$FERNWICK_PREFIX"
fi
give_prefix_fonts "$FERNWICK_PREFIX"

# Tests and screenshots run under a bare Xvfb.
set_wine_window_management N
