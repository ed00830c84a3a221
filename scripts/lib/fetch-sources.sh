#!/usr/bin/env bash
# Fetches Debian's source packages of the libraries the Windows trees compile (pinned versions,
# FERNWICK_SOURCE_PACKAGES in common.sh) and unpacks each into build/deps/, once. The system's apt configuration is left alone: apt gets a source list,
# lists folder and cache of its own under build/deps/apt, naming the same Debian archive the
# machine already installs from, with a deb-src entry.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

deps="$FERNWICK_DEPS"
# A package counts as there when its unpacked folder has its build file.
wanted=()
for entry in "${FERNWICK_SOURCE_PACKAGES[@]}"; do
  read -r package version folder <<<"$entry"
  [[ -f "$deps/$folder/CMakeLists.txt" ]] || wanted+=("$entry")
done
((${#wanted[@]})) || exit 0

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
apt-get "${apt_private[@]}" -qq update
work="$deps/download"
for entry in "${wanted[@]}"; do
  read -r package version folder <<<"$entry"
  say "Fetching $package $version from $archive (Debian source package)"
  rm -rf "$work" && mkdir -p "$work"
  (cd "$work" && apt-get "${apt_private[@]}" -qq source --download-only "$package=$version" >/dev/null)

# apt has checked the files against the archive's signed index; dpkg-source checks them against
# the .dsc and applies Debian's patches. Its note that the .dsc's own signature cannot be checked
# (no maintainer keyring here) is only shown when the unpacking fails.
  rm -rf "${deps:?}/$folder"
  if ! dpkg-source -x "$work/${package}_"*.dsc "$deps/$folder" >"$deps/dpkg-source.log" 2>&1; then
    cat "$deps/dpkg-source.log" >&2
    exit 1
  fi
done
rm -rf "$work"
