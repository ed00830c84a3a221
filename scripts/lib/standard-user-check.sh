#!/usr/bin/env bash
# Runs end-to-end runs of the real program as an ordinary user whose Wine prefix has a read-only
# Windows folder, as on a real Windows, where a standard user may not write there. (Wine lets
# root write everywhere, so under root the runs go to an unprivileged account made for them.)
#   standard-user-check.sh program.exe [args...]     the e2e test program and its arguments
# Environment: DISPLAY (one is started when unset), FERNWICK_STANDARD_USER (default fernwick-standard).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

account="${FERNWICK_STANDARD_USER:-fernwick-standard}"
prefix="$FERNWICK_WIN_BUILD/standard-user-prefix"

if ((EUID == 0)); then
  if ! id -u "$account" >/dev/null 2>&1; then
    useradd --system --create-home --home-dir "/var/lib/$account" --shell /usr/sbin/nologin "$account"
  fi
  home="$(getent passwd "$account" | cut -d: -f6)"
  as_account() { runuser -u "$account" -- env HOME="$home" DISPLAY="${DISPLAY:-}" "$@"; }
else
  account="$(id -un)"
  as_account() { "$@"; }
fi

# The account must reach the build; a clone in a private home folder cannot be checked this way.
if ! as_account test -r "$1"; then
  say "$account cannot read $1 (a folder above it is private): standard-user check skipped"
  exit 77
fi

# The folders the run writes besides the profile: the recorder's file beside it, screenshots.
program_dir="$(dirname "$1")"
mkdir -p "$FERNWICK_WIN_BUILD/e2e-screenshots"
chmod o+w "$program_dir"
chmod -R o+w "$FERNWICK_WIN_BUILD/e2e-screenshots"

if [[ ! -f "$prefix/system.reg" ]]; then
  mkdir -p "$prefix"
  [[ $EUID -eq 0 ]] && chown "$account" "$prefix"
  as_account "$FERNWICK_ROOT/scripts/lib/wine-run.sh" --prefix "$prefix" --boot
fi
chmod a-w "$prefix/drive_c/windows"
# A check that could write there would prove nothing.
if as_account touch "$prefix/drive_c/windows/.write-probe" 2>/dev/null; then
  rm -f "$prefix/drive_c/windows/.write-probe"
  say "the Windows folder of $prefix is writable for $account: no standard-user check possible"
  exit 1
fi

# No FERNWICK_USER_DIR: the program finds its folders in the account's own profile.
status=0
as_account env -u FERNWICK_USER_DIR -u FERNWICK_LOG_DIR "$FERNWICK_ROOT/scripts/lib/wine-run.sh" --prefix "$prefix" "$@" \
  || status=$?
as_account env WINEPREFIX="$prefix" wineserver -w 2>/dev/null || true
exit $status
