#!/usr/bin/env bash
# Makes the installer and the zip of a built Windows tree and tries them as a user would, in a
# fresh Wine prefix of their own (TREE/installer-prefix, made anew at every run):
#   installer-check.sh TREE OUTDIR CHECKER
# CHECKER is installation_check.exe; each step below is followed by its suite of checks.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

tree="$(cd "$1" && pwd)"
out="$2"
checker="$3"
version="$(cat "$tree/release-version")"
setup="$out/Fernwick-$version-setup.exe"
zip="$out/Fernwick-$version-portable.zip"

export FERNWICK_INSTALLER_QUICK=1  # packages made only to be tried here
"$FERNWICK_ROOT/scripts/lib/make-installer.sh" "$tree" "$out"
# An earlier release to update from: the same files under an older number.
earlier_version=0.9.0
earlier_setup="$out/Fernwick-$earlier_version-setup.exe"
"$FERNWICK_ROOT/scripts/lib/make-installer.sh" "$tree" "$out" "$earlier_version"

say "== the installer's words"
# The user's account is 帐号 in the program's windows; the installer and the read-me say the same.
if grep -n '账户' "$FERNWICK_ROOT/installer/fernwick.nsi" "$FERNWICK_ROOT/installer/README-Windows.txt"; then
  say "the installer calls the account 账户 where the program says 帐号"
  exit 1
fi

say "== the zip's files"
expected="$( { printf '%s\n' "Fernwick-$version/" "Fernwick-$version/fernwick.exe" "Fernwick-$version/logo.gif" \
                 "Fernwick-$version/README-Windows.txt"
               if [[ -d "$tree/licences" ]] && compgen -G "$tree/licences/*" >/dev/null; then
                 echo "Fernwick-$version/licences/"
                 (cd "$tree/licences" && find . -mindepth 1 | sed -e 's|^\./||' -e "s|^|Fernwick-$version/licences/|")
               fi; } | sed 's|/$||' | sort)"
actual="$(cmake -E tar tf "$zip" | sed 's|/$||' | sort)"
if [[ "$expected" != "$actual" ]]; then
  say "the zip holds:" "$actual" "expected:" "$expected"
  exit 1
fi

export WINEPREFIX="$tree/installer-prefix"
export LC_ALL=zh_CN.UTF-8 WINEDEBUG=-all WINEARCH=win64
# No Gecko or Mono prompts, and no menu entries on this machine for the Start-menu shortcut.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
unset FERNWICK_USER_DIR FERNWICK_LOG_DIR
start_xvfb_if_needed
finish() {
  wineserver -k 2>/dev/null || true
  stop_xvfb
}
trap finish EXIT

say "== a fresh prefix"
copy_fresh_prefix "$WINEPREFIX"
give_prefix_fonts "$WINEPREFIX"

# Runs a Windows program and waits until every process of the prefix has ended (an uninstaller
# runs a copy of itself and returns at once).
run() {
  local status=0
  wine "$@" || status=$?
  wineserver -w
  return $status
}
# A filter that picks no test would pass: at least one must have run.
check() {
  say "== checks: $1"
  local output status=0
  output="$(run "$checker" --gtest_filter="$1.*" --gtest_brief=1 2>&1)" || status=$?
  printf '%s\n' "$output" >&2
  ((status == 0)) && grep -q '^\[  PASSED  \] [1-9]' <<<"$output"
}

say "== silent install of an earlier release, then of this one over it"
run "$earlier_setup" /S
check EarlierInstalled
run "$setup" /S
check Updated
check Installed
say "== silent install over it"
run "$setup" /S
check Reinstalled
# The uninstaller as Apps & features finds it: the entry's quiet command.
quiet_uninstall() {
  wine reg query 'HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Fernwick' /v QuietUninstallString |
    tr -d '\r' | sed -n 's/.*REG_SZ *"\(.*\)" \/S$/\1/p'
}

say "== silent uninstall"
uninstaller="$(quiet_uninstall)"
[[ -n "$uninstaller" ]] || { say "no QuietUninstallString"; exit 1; }
run "$uninstaller" /S
check Uninstalled

say "== install, then silent uninstall that removes the settings and the saved passwords too"
run "$setup" /S
check PasswordsPlanted
run "$(quiet_uninstall)" /S /REMOVESETTINGS
check UninstalledWithSettings
say "== install into a folder of the user's that holds other files, then silent uninstall"
check ForeignFolderPrepared
run "$setup" /S '/D=C:\Tools'
check ForeignFolderInstalled
run 'C:\Tools\uninstall.exe' /S
check ForeignFolderUninstalled
say "installer, zip and uninstaller: all checks passed"
