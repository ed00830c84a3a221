#!/usr/bin/env bash
# Fetches Debian's source package of libjpeg-turbo (pinned version) and unpacks it into
# build/deps/, once. The system's apt configuration is left alone: apt gets a source list,
# lists folder and cache of its own under build/deps/apt, naming the same Debian archive the
# machine already installs from, with a deb-src entry.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

[[ -f "$FERNWICK_JPEG_SOURCE/CMakeLists.txt" && -f "$FERNWICK_JPEG_SOURCE/transupp.c" ]] && exit 0

deps="$FERNWICK_BUILD/deps"
apt_dir="$deps/apt"
mkdir -p "$apt_dir/sources.list.d" "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial"

# The archive of the machine's own Debian entries (deb822 or one-line form); Debian's main
# mirror when there is none.
archive="$(grep -hoE '^URIs:[[:space:]]*[^[:space:]]+/debian/?$' /etc/apt/sources.list.d/*.sources 2>/dev/null \
           | awk '{print $2}' | head -n 1 || true)"
if [[ -z "$archive" ]]; then
  archive="$(grep -hoE '^deb[[:space:]]+(\[[^]]*\][[:space:]]+)?[^[:space:]]+/debian/?[[:space:]]' \
             /etc/apt/sources.list 2>/dev/null | awk '{print $NF}' | head -n 1 || true)"
fi
archive="${archive:-http://deb.debian.org/debian}"
cat > "$apt_dir/sources.list.d/debian-src.sources" <<SOURCES
Types: deb-src
URIs: $archive
Suites: bookworm
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SOURCES

apt_private=(-o Dir::Etc::SourceList=/dev/null -o Dir::Etc::SourceParts="$apt_dir/sources.list.d"
             -o Dir::State::Lists="$apt_dir/lists" -o Dir::Cache="$apt_dir/cache"
             -o APT::Sandbox::User=root -o Debug::NoLocking=1)
say "Fetching libjpeg-turbo $FERNWICK_JPEG_VERSION from $archive (Debian source package)"
apt-get "${apt_private[@]}" -qq update
work="$deps/download"
rm -rf "$work" && mkdir -p "$work"
(cd "$work" && apt-get "${apt_private[@]}" -qq source --download-only "libjpeg-turbo=$FERNWICK_JPEG_VERSION" >/dev/null)

# apt has checked the files against the archive's signed index; dpkg-source checks them against
# the .dsc and applies Debian's patches. Its note that the .dsc's own signature cannot be checked
# (no maintainer keyring here) is only shown when the unpacking fails.
rm -rf "$FERNWICK_JPEG_SOURCE"
if ! dpkg-source -x "$work"/libjpeg-turbo_*.dsc "$FERNWICK_JPEG_SOURCE" >"$deps/dpkg-source.log" 2>&1; then
  cat "$deps/dpkg-source.log" >&2
  exit 1
fi
rm -rf "$work"
