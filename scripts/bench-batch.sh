#!/usr/bin/env bash
# Whole-batch benchmark: 50 photos of about 1 MB added to the real main window and sent by the
# real upload worker (OK pressed, batch_bench.exe under Wine) to the reference server on
# loopback; then the same requests by curl in one process: the password sign-in, and for each
# photo the token request and the same upload body. Prints wall times, the requests the server
# saw for the batch (2N + 1 on the worker's connection, plus the sign-in check of OK) and the
# ratio, the processor time of the window's thread and of the whole program over the batch, and the
# best of the rounds; then WinINet alone doing the same requests (the floor any
# batch on WinINet under Wine has). Needs scripts/build.sh first.
# Usage: scripts/bench-batch.sh [rounds]
# BENCH_HIDDEN=1 leaves the main window hidden, to tell the cost of painting from the rest.
# BENCH_EXE=another batch_bench.exe (an older build, say) for a comparison.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh"
rounds="${1:-5}"
count=50
bench="$FERNWICK_BUILD/bench-batch"
exe="${BENCH_EXE:-$FERNWICK_WIN_BUILD/tools/batch_bench.exe}"
[[ -f "$exe" ]] || { say "no batch_bench.exe: run scripts/build.sh first"; exit 1; }

# The program's settings, work folders and upload history in a profile of the bench's own,
# emptied first: the photos are made again alike, and a history of an earlier run would hold
# them back as sent before.
export FERNWICK_USER_DIR="Z:$bench/user" FERNWICK_LOG_DIR="Z:$bench/log"
rm -rf "$bench/photos" "$bench/bodies" "$bench/user"
mkdir -p "$bench/photos" "$bench/bodies"
say "making $count photos"
for ((i = 0; i < count; i++)); do
  # Noise does not compress: 900 x 675 at quality 92 is about 1 MB, within every size limit.
  convert -size 900x675 -seed "$((i + 1))" xc: +noise Random -quality 92 "$bench/photos/$i.jpg"
done

start_fresh_server "$bench/server"
port="$SERVER_PORT"
base="$SERVER_BASE"

best_batch=""
best_curl=""
best_wininet=""
for ((round = 1; round <= rounds; round++)); do
  user="bench$round"
  control "put-account?user=$user&password=pw&quota=2000000000&blog=bench" >/dev/null
  control clear >/dev/null
  out="$("$FERNWICK_ROOT/scripts/lib/wine-run.sh" "$exe" "$port" "$user" pw "Z:$bench/photos" "$count" "Z:$bench/bodies" | tr -d '\r')"
  batch="$(grep -Eo 'batch_seconds=[0-9.]+' <<<"$out" | cut -d= -f2)"
  left="$(grep -Eo 'left=[0-9]+' <<<"$out" | cut -d= -f2)"
  token="$(grep -Eo 'token=[^ ]+' <<<"$out" | cut -d= -f2)"
  journal="$(grep -Eo 'journal_whole_ms=[0-9.]+ journal_append_ms=[0-9.]+ journal_append_unflushed_ms=[0-9.]+' <<<"$out" | tr '_=' '  ')"
  stored="$(control "account?user=$user" | grep -Eo 'photos=[0-9]+' | cut -d= -f2)"
  # Requests of the batch: the count before the bench's own sign-in for the curl bodies.
  requests=$(($(control count) - 1))

  args=(--http1.0 -s -o /dev/null -A Kestrelpost "$base/upload/auth.aspx?username=$user&password=pw")
  for ((i = 0; i < count; i++)); do
    args+=(--next --http1.0 -s -o /dev/null -A Kestrelpost "$base/upload/auth.aspx?authstr=$token")
    args+=(--next --http1.0 -s -o /dev/null -A Kestrelpost -H "Expect:"
           -H "Content-Type: multipart/form-data; boundary=---------------------------7b4a6d158c9"
           --data-binary "@$bench/bodies/$i.body" "$base/upload/toolupload.aspx")
  done
  start="$(date +%s.%N)"
  curl "${args[@]}"
  end="$(date +%s.%N)"
  curl_s="$(echo "$end - $start" | bc -l)"
  after="$(control "account?user=$user" | grep -Eo 'photos=[0-9]+' | cut -d= -f2)"
  floor="$("$FERNWICK_ROOT/scripts/lib/wine-run.sh" "$exe" wininet "$port" "$user" pw "$token" "Z:$bench/bodies" "$count" |
           tr -d '\r' | grep -Eo 'wininet_seconds=[0-9.]+' | cut -d= -f2 || true)"
  floor="${floor:-0}"  # none when WinINet failed: the round shows 0 stored
  floor_stored=$(($(control "account?user=$user" | grep -Eo 'photos=[0-9]+' | cut -d= -f2) - after))
  printf 'round %d: batch %.3f s (%d stored, %d left in the list, %d requests = 2N+1 + sign-in check); curl %.3f s (%d stored, %d requests); batch/curl = %.3f\n' \
    "$round" "$batch" "$stored" "$left" "$requests" "$curl_s" $((after - stored)) $((2 * count + 1)) \
    "$(echo "$batch / $curl_s" | bc -l)"
  window_cpu="$(grep -Eo 'window_thread_cpu_ms=[0-9]+' <<<"$out" | cut -d= -f2)"
  program_cpu="$(grep -Eo 'process_cpu_ms=[0-9]+' <<<"$out" | cut -d= -f2)"
  say "round $round: processor time over the batch: the window's thread ${window_cpu:-?} ms, the whole program ${program_cpu:-?} ms"
  say "round $round: a photo's change of state in the journal: $journal"
  printf 'round %d: WinINet alone %.3f s (%d stored); WinINet/curl = %.3f\n' "$round" "$floor" "$floor_stored" \
    "$(echo "$floor / $curl_s" | bc -l)"
  if ((floor_stored == count)) && { [[ -z "$best_wininet" ]] || (($(echo "$floor < $best_wininet" | bc -l))); }; then
    best_wininet="$floor"
  fi
  # A round that did not send every photo times something else.
  if ((stored != count)); then
    say "round $round left out of the best: $stored of $count photos stored"
  elif [[ -z "$best_batch" ]] || (($(echo "$batch < $best_batch" | bc -l))); then
    best_batch="$batch"
  fi
  if [[ -z "$best_curl" ]] || (($(echo "$curl_s < $best_curl" | bc -l))); then best_curl="$curl_s"; fi
done
[[ -n "$best_batch" ]] || { say "no round sent every photo"; exit 1; }
mb="$(du -cb "$bench/photos"/*.jpg | tail -1 | cut -f1)"
printf 'best of %d: batch %.3f s, curl %.3f s for %d photos (%.1f MB); batch/curl = %.3f (aim: at most 1.10)\n' \
  "$rounds" "$best_batch" "$best_curl" "$count" "$(echo "$mb / 1000000" | bc -l)" "$(echo "$best_batch / $best_curl" | bc -l)"
[[ -z "$best_wininet" ]] ||
  printf 'best of %d: WinINet alone %.3f s; WinINet/curl = %.3f, batch/WinINet = %.3f\n' "$rounds" "$best_wininet" \
    "$(echo "$best_wininet / $best_curl" | bc -l)" "$(echo "$best_batch / $best_wininet" | bc -l)"
