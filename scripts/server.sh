#!/usr/bin/env bash
# Starts, stops or reports the local reference upload server (built by scripts/build.sh into
# build/native/server/; this script builds nothing).
#   server.sh start    start with the demo account (user "demo", password "demo") unless running
#   server.sh stop     stop it
#   server.sh status   say whether it runs, and where
# Settings (environment):
#   FERNWICK_LOCAL_PORT   port (default 18080, as the scripts' builds use); 0 picks a free one
#   FERNWICK_SERVER_DIR   folder for its data, seed, log, pid and port files (default build/server)
#   FERNWICK_SERVER_BIN   the server program (default build/native/server/fernwick-server)
#   FERNWICK_SERVER_FRESH=1  start from empty data (the tests do)
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh"

dir="${FERNWICK_SERVER_DIR:-$FERNWICK_BUILD/server}"
bin="${FERNWICK_SERVER_BIN:-$FERNWICK_NATIVE_BUILD/server/fernwick-server}"
pid_file="$dir/pid"
port_file="$dir/port"

running_pid() {
  [[ -f "$pid_file" ]] || return 1
  local pid
  pid="$(cat "$pid_file")"
  kill -0 "$pid" 2>/dev/null || return 1
  echo "$pid"
}

answers() {  # port
  curl -sf -o /dev/null --max-time 2 "http://127.0.0.1:$1/upload/versioncheck.aspx"
}

start() {
  if pid="$(running_pid)"; then
    say "reference server already running (pid $pid, port $(cat "$port_file"))"
    return 0
  fi
  if [[ ! -x "$bin" ]]; then
    say "no server program at $bin: run scripts/build.sh first"
    return 1
  fi
  mkdir -p "$dir"
  if [[ "${FERNWICK_SERVER_FRESH:-0}" == 1 ]]; then rm -rf "$dir/data"; fi
  if [[ ! -f "$dir/seed.txt" ]]; then
    cat > "$dir/seed.txt" <<'SEED'
# Reference server seed: see server/README.md
account demo demo 52428800 演示相册
setting version_id 1.0
setting is_upgrade 0
SEED
  fi
  rm -f "$port_file"
  # Sanitizer reports of the server would only disturb the program's run; leaks at exit are not ours to chase here.
  ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=0}" nohup "$bin" --port "$FERNWICK_LOCAL_PORT" --port-file "$port_file" \
    --data "$dir/data" --seed "$dir/seed.txt" \
    >"$dir/server.log" 2>&1 </dev/null &
  local pid=$!
  echo "$pid" > "$pid_file"
  for _ in $(seq 1 100); do
    if [[ -s "$port_file" ]] && answers "$(cat "$port_file")"; then
      say "reference server on http://127.0.0.1:$(cat "$port_file") (pid $pid, data in $dir/data)"
      return 0
    fi
    if ! kill -0 "$pid" 2>/dev/null; then break; fi
    sleep 0.1
  done
  say "reference server did not start; its log ($dir/server.log):"
  cat "$dir/server.log" >&2 || true
  kill "$pid" 2>/dev/null || true
  rm -f "$pid_file"
  return 1
}

stop() {
  local pid
  if ! pid="$(running_pid)"; then
    rm -f "$pid_file"
    say "reference server not running"
    return 0
  fi
  kill "$pid"
  for _ in $(seq 1 50); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  kill -0 "$pid" 2>/dev/null && kill -9 "$pid"
  rm -f "$pid_file"
  say "reference server stopped"
}

status() {
  local pid
  if pid="$(running_pid)"; then
    say "reference server running (pid $pid) on http://127.0.0.1:$(cat "$port_file")"
  else
    say "reference server not running"
    return 3
  fi
}

case "${1:-}" in
  start) start ;;
  stop) stop ;;
  status) status ;;
  *) say "usage: $0 start|stop|status"; exit 2 ;;
esac
