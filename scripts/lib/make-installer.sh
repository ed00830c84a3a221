#!/usr/bin/env bash
# Makes the installer and the portable zip from a built Windows tree:
#   make-installer.sh TREE OUTDIR [VERSION]
# writes OUTDIR/Fernwick-<version>-setup.exe and OUTDIR/Fernwick-<version>-portable.zip, where
# <version> is VERSION when given (the installer check makes an "earlier release" this way),
# else the tree's release number (TREE/release-version). Both hold the tree's
# fernwick.exe, logo.gif, the Windows read-me and every licence text in TREE/licences/.
# Needs makensis (package nsis); scripts/package.sh and scripts/setup.sh install it.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

tree="$(cd "$1" && pwd)"
mkdir -p "$2"
out="$(cd "$2" && pwd)"
version="${3:-$(cat "$tree/release-version")}"
name="Fernwick-$version"

# What the user gets, in one folder: the installer installs it, the zip holds it.
staging="$out/.staging"
stage="$staging/$name"
rm -rf "$staging"
mkdir -p "$stage"
trap 'rm -rf "$staging"' EXIT
cp "$tree/fernwick.exe" "$FERNWICK_ROOT/res/logo.gif" "$FERNWICK_ROOT/installer/README-Windows.txt" "$stage/"
if [[ -d "$tree/licences" ]] && compgen -G "$tree/licences/*" >/dev/null; then
  mkdir -p "$stage/licences"
  cp -r "$tree/licences/." "$stage/licences/"
fi

# The uninstaller removes exactly these files by name, then their folders when empty, deepest
# first: the installation folder may hold the user's own files.
installed="$staging/installed.nsh"
{
  (cd "$stage" && find . -type f | sort) | sed -e 's|^\./||' -e 's|/|\\|g' -e 's|.*|  Delete "$INSTDIR\\&"|'
  (cd "$stage" && find . -mindepth 1 -type d | sort -r) | sed -e 's|^\./||' -e 's|/|\\|g' -e 's|.*|  RMDir "$INSTDIR\\&"|'
} >"$installed"

# FERNWICK_INSTALLER_QUICK=1 packs with zlib instead of solid LZMA (a fifth of the processor
# time over a build with debugging information): the installer check's packages are tried once
# and thrown away. The release keeps LZMA.
options=()
[[ "${FERNWICK_INSTALLER_QUICK:-0}" == 1 ]] && options=("-XSetCompressor /FINAL zlib")
makensis -V2 "${options[@]}" -INPUTCHARSET UTF8 -DVERSION="$version" -DSTAGE="$stage" -DSOURCE="$FERNWICK_ROOT" \
  -DINSTALLED="$installed" -DOUTFILE="$out/$name-setup.exe" "$FERNWICK_ROOT/installer/fernwick.nsi" >&2

# The zip opens to one folder named after the release.
rm -f "$out/$name-portable.zip"
(cd "$staging" && cmake -E tar cf "$out/$name-portable.zip" --format=zip "$name")
say "$out/$name-setup.exe"
say "$out/$name-portable.zip"
