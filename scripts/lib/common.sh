# Shared settings of the scripts; sourced, not run.
FERNWICK_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
FERNWICK_BUILD="${FERNWICK_BUILD:-$FERNWICK_ROOT/build}"
FERNWICK_WIN_BUILD="$FERNWICK_BUILD/windows"
FERNWICK_NATIVE_BUILD="$FERNWICK_BUILD/native"
FERNWICK_WIN32_BUILD="$FERNWICK_BUILD/windows-i686"
FERNWICK_PREFIX="$FERNWICK_WIN_BUILD/wineprefix"
# Port of the local reference server in the builds the scripts make (no root needed for it).
FERNWICK_LOCAL_PORT="${FERNWICK_LOCAL_PORT:-18080}"
FERNWICK_JOBS="${FERNWICK_JOBS:-$(nproc)}"

say() { printf '%s\n' "$*" >&2; }

# A phase line ("== native tree") carries the wall seconds since the run began (the outermost
# script's start, passed on to the scripts it runs) and the processor seconds, user and system,
# that the calling script's finished children have used so far: other builds on the machine
# stretch the first, not the second. Processes Wine detaches (its server) are not counted.
: "${FERNWICK_RUN_START:=$(date +%s)}"
export FERNWICK_RUN_START
phase() {
  local cpu
  cpu="$(awk -v tick="$(getconf CLK_TCK)" '{ sub(/^.*\) /, ""); printf "%d", ($14 + $15) / tick }' "/proc/$$/stat")"
  say "== $* [$(($(date +%s) - FERNWICK_RUN_START)) s, cpu $cpu s]"
}

# Installs the Debian packages named that are missing (as root; otherwise says what to run).
ensure_packages() {
  local missing=() p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed' || missing+=("$p")
  done
  ((${#missing[@]})) || return 0
  if [[ $(id -u) -ne 0 ]]; then
    say "Missing packages. Run as root:"
    say "  apt-get update && apt-get install -y ${missing[*]}"
    return 1
  fi
  say "Installing: ${missing[*]}"
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

# Starts Xvfb on a free display when DISPLAY is unset; sets DISPLAY and XVFB_PID.
XVFB_PID=""
start_xvfb_if_needed() {
  [[ -n "${DISPLAY:-}" ]] && return 0
  local fd display_number _
  # -displayfd lets Xvfb pick a free display number and report it.
  exec {fd}< <(Xvfb -displayfd 1 -screen 0 1280x1024x24 -nolisten tcp 2>/dev/null & echo "pid $!"; wait)
  read -r _ XVFB_PID <&"$fd"
  read -r display_number <&"$fd"
  export DISPLAY=":$display_number"
}
# Waits, at most $1 seconds (default 30), until the Wine processes of the prefix ($2, default
# the project's) have ended, so that none is left drawing on a display about to go. Never ends
# them: a session of scripts/run.sh may share the prefix, and outlives the wait.
wait_for_wine() {
  WINEPREFIX="${2:-$FERNWICK_PREFIX}" timeout "${1:-30}" wineserver -w 2>/dev/null || true
}
# Keeps the project prefix's Wine server, and the service processes and desktop it starts, up
# between the programs of a run, instead of starting them anew for each (some 3 s a program).
# They are started here, in a session of their own and with no output, because a process that
# outlives a test and holds its output pipe keeps ctest waiting for that test forever. Only a
# server started here is kept, and ended by stop_kept_wine.
KEPT_WINE=0
keep_wine_up() {
  local prefix
  prefix="$(cd "$FERNWICK_PREFIX" && pwd)"
  WINEPREFIX="$prefix" setsid wineserver -p </dev/null >/dev/null 2>&1 || return 0
  KEPT_WINE=1
  # A program that makes a window brings up the services and the desktop.
  setsid "$FERNWICK_ROOT/scripts/lib/wine-run.sh" --prefix "$prefix" rundll32.exe user32.dll,MessageBeep \
    </dev/null >/dev/null 2>&1 || true
}
stop_kept_wine() {
  ((KEPT_WINE)) || return 0
  WINEPREFIX="$(cd "$FERNWICK_PREFIX" && pwd)" wineserver -k 2>/dev/null || true
  KEPT_WINE=0
}
# For a bench that runs one tool of the Windows tree: the tree built when it is missing, the
# tool `$1` brought up to date, and a display that goes, with the tool's Wine processes, when
# the script ends.
prepare_bench_tool() {
  if [[ ! -f "$FERNWICK_WIN_BUILD/CMakeCache.txt" ]]; then
    FERNWICK_SKIP_I686=1 "$FERNWICK_ROOT/scripts/build.sh" >/dev/null
  fi
  cmake --build "$FERNWICK_WIN_BUILD" -j "$FERNWICK_JOBS" --target "$1" >/dev/null
  start_xvfb_if_needed
  trap 'wait_for_wine; stop_xvfb' EXIT
}
# What every prefix of the project gets once it is made, before a program runs in it:
# - Wine draws the caption buttons (minimise, maximise, close) with its Marlett font; this Wine
#   does not find the font in its own data folder (package fonts-wine) and draws "0 1 r" instead.
#   The prefix's Fonts folder is always searched, so the font is put there.
# - The window templates ask for 宋体 9 pt, whose cell is one em (12 pixels at 96 DPI) and sizes
#   the dialog units. Wine's nearest free Song face, AR PL UMing, has a cell of 1.05 em (19
#   pixels at 144 DPI where 宋体 has 18), so every dialog unit is larger than on Windows. 宋体
#   and SimSun are led to a copy of UMing whose cell is one em (scripts/lib/one-em-song.py,
#   made by scripts/setup.sh). The font is copied last, so a prefix whose substitutes could not
#   be written tries again at the next run.
FERNWICK_SONG_FONT="$FERNWICK_BUILD/fonts/fernwick-song.ttf"
give_prefix_fonts() {
  [[ -f "$1/system.reg" ]] || return 0
  local prefix fonts marlett=/usr/share/wine/fonts/marlett.ttf face
  prefix="$(cd "$1" && pwd)"  # Wine takes only an absolute WINEPREFIX
  fonts="$prefix/drive_c/windows/Fonts"
  mkdir -p "$fonts"
  [[ -f "$marlett" && ! -f "$fonts/marlett.ttf" ]] && cp "$marlett" "$fonts/"
  [[ -f "$FERNWICK_SONG_FONT" && ! -f "$fonts/fernwick-song.ttf" ]] || return 0
  for face in 宋体 SimSun; do
    WINEPREFIX="$prefix" LC_ALL=zh_CN.UTF-8 WINEDEBUG=-all wine reg add \
      'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes' /v "$face" \
      /d "Fernwick Song" /f >/dev/null 2>&1 || return 0
  done
  WINEPREFIX="$prefix" wineserver -w
  cp "$FERNWICK_SONG_FONT" "$fonts/fernwick-song.ttf"
}
# Every prefix of a build (the tests', each DPI's, the installer's) starts as a copy of one
# booted once and kept untouched in the Windows tree: a boot costs Wine some 25 s, a copy 1 s.
# Wine's libraries (drive_c/windows/system32, most of a prefix's 700 MB) are hard links shared
# with the template, which only a Wine update would rewrite; every other file is a copy of its
# own, as a program of the copy may change it in place. The registry files carry no path of the
# prefix itself, so a copy is as good as a boot.
FERNWICK_PREFIX_TEMPLATE="$FERNWICK_WIN_BUILD/wineprefix-template"
copy_fresh_prefix() {  # destination (made anew)
  local template="$FERNWICK_PREFIX_TEMPLATE" dest="$1"
  if [[ ! -f "$template/system.reg" ]]; then
    rm -rf "$template"
    "$FERNWICK_ROOT/scripts/lib/wine-run.sh" --prefix "$template.part" --boot
    mv "$template.part" "$template"
  fi
  # Its registry is whole on disk only once its server is gone.
  WINEPREFIX="$(cd "$template" && pwd)" wineserver -w 2>/dev/null || true
  rm -rf "$dest"
  cp -al "$template" "$dest"
  find "$dest" -type f -links +1 ! -path "$dest/drive_c/windows/system32/*" \
       ! -path "$dest/drive_c/windows/syswow64/*" \
       -exec sh -c 'for f; do cp -p "$f" "$f.copy" && mv -f "$f.copy" "$f"; done' sh {} +
}
stop_xvfb() {
  [[ -n "$XVFB_PID" ]] && kill "$XVFB_PID" 2>/dev/null
  XVFB_PID=""
}

# How Wine shows the program's windows in the project prefix: "N" (unmanaged: Wine draws the
# frames itself; right for a bare Xvfb, where a managed window waits two seconds for a window
# manager at every close) or "Y" (managed: the desktop's window manager frames them).
# Written only when it differs.
set_wine_window_management() {
  local want="$1" have
  have="$(awk '/^\[Software\\\\Wine\\\\X11 Driver\]/ {section=1; next} /^\[/ {section=0}
               section && /^"Managed"=/ {gsub(/"/, "", $0); sub(/Managed=/, "", $0); print}' \
          "$FERNWICK_PREFIX/user.reg" 2>/dev/null)"
  [[ "$have" == "$want" ]] && return 0
  "$FERNWICK_ROOT/scripts/lib/wine-run.sh" --prefix "$FERNWICK_PREFIX" reg add 'HKCU\Software\Wine\X11 Driver' \
    /v Managed /d "$want" /f >/dev/null 2>&1
  WINEPREFIX="$FERNWICK_PREFIX" wineserver -w
}
# Starts a reference server of its own for a bench, with fresh data in folder $1 and on a free
# port, stopped when the calling script exits. Sets SERVER_PORT and SERVER_BASE; control asks
# the server's control requests (server/README.md), e.g. control "put-account?user=u&password=p".
start_fresh_server() {
  export FERNWICK_SERVER_DIR="$1" FERNWICK_LOCAL_PORT=0 FERNWICK_SERVER_FRESH=1
  "$FERNWICK_ROOT/scripts/server.sh" start
  trap '"$FERNWICK_ROOT/scripts/server.sh" stop' EXIT
  SERVER_PORT="$(cat "$1/port")"
  SERVER_BASE="http://127.0.0.1:$SERVER_PORT"
}
control() { curl -sf "$SERVER_BASE/control/$1"; }

# The libraries the Windows trees compile (cmake/libjpeg_turbo.cmake, cmake/libwebp.cmake,
# cmake/libheif.cmake): Debian source package, its pinned version and the folder of build/deps/
# scripts/lib/fetch-sources.sh unpacks it into.
FERNWICK_DEPS="$FERNWICK_BUILD/deps"
FERNWICK_SOURCE_PACKAGES=(
  "libjpeg-turbo 1:2.1.5-2 libjpeg-turbo-2.1.5"
  "libwebp 1.2.4-0.2+deb12u1 libwebp-1.2.4"
  "libde265 1.0.11-1+deb12u2 libde265-1.0.11"
  "libheif 1.15.1-1+deb12u1 libheif-1.15.1"
)
FERNWICK_JPEG_SOURCE="$FERNWICK_DEPS/libjpeg-turbo-2.1.5"
