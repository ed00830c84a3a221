#!/usr/bin/env bash
# Upload benchmark: 50 photos of about 1 MB sent to the reference server on loopback, first by
# the program's own upload request (upload_bench.exe under Wine, one ServiceClient for the
# batch), then the same 50 bodies posted by curl (HTTP/1.0, one process); prints both wall
# times and their ratio. Needs scripts/build.sh first. Usage: scripts/bench-upload.sh [rounds]
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh"
rounds="${1:-3}"
count=50
bench="$FERNWICK_BUILD/bench"
exe="$FERNWICK_WIN_BUILD/tools/upload_bench.exe"
[[ -f "$exe" ]] || { say "no $exe: run scripts/build.sh first"; exit 1; }

rm -rf "$bench/photos" "$bench/bodies"
mkdir -p "$bench/photos" "$bench/bodies"
for ((i = 0; i < count; i++)); do
  head -c $((1000000 + i * 997)) /dev/urandom > "$bench/photos/$i.jpg"
done

start_fresh_server "$bench/server"
port="$SERVER_PORT"
base="$SERVER_BASE"
control "put-account?user=bench&password=bench&quota=2000000000&blog=bench" >/dev/null

curl_args=()
for ((i = 0; i < count; i++)); do
  ((i > 0)) && curl_args+=(--next)
  curl_args+=(--http1.0 -s -o /dev/null -H "Content-Type: multipart/form-data; boundary=---------------------------7b4a6d158c9"
              -H "Expect:" -A Kestrelpost --data-binary "@$bench/bodies/$i.body" "$base/upload/toolupload.aspx")
done

photos() { control "account?user=bench" | grep -Eo 'photos=[0-9]+' | cut -d= -f2; }

best_client=""
best_curl=""
for ((round = 1; round <= rounds; round++)); do
  out="$(BENCH_SEND_ONLY=1 "$FERNWICK_ROOT/scripts/lib/wine-run.sh" "$exe" "$port" bench bench "Z:$bench/photos" "$count" "Z:$bench/bodies")"
  client="$(grep -Eo 'client_seconds=[0-9.]+' <<<"$out" | cut -d= -f2)"
  prepare="$(grep -Eo "prepare_seconds=[0-9.]+" <<<"$out" | cut -d= -f2)"
  send_only="$(grep -Eo "send_only_seconds=[0-9.]+" <<<"$out" | cut -d= -f2)"
  stored="$(grep -Eo "stored=[0-9]+" <<<"$out" | cut -d= -f2)"
  mid="$(photos)"
  start="$(date +%s.%N)"
  curl "${curl_args[@]}"
  end="$(date +%s.%N)"
  after="$(photos)"
  curl_s="$(echo "$end - $start" | bc -l)"
  printf 'round %d: client %.3f s (%d stored), curl %.3f s (%d stored); for comparison: reading and laying out the bodies %.3f s, WinINet posting one prepared body 50 times %.3f s\n' \
    "$round" "$client" "$stored" "$curl_s" $((after - mid)) "$prepare" "$send_only"
  if [[ -z "$best_client" ]] || (($(echo "$client < $best_client" | bc -l))); then best_client="$client"; fi
  if [[ -z "$best_curl" ]] || (($(echo "$curl_s < $best_curl" | bc -l))); then best_curl="$curl_s"; fi
done
mb="$(du -cb "$bench/photos"/*.jpg | tail -1 | cut -f1)"
printf 'best of %d: client %.3f s, curl %.3f s for %d photos (%.1f MB); client/curl = %.3f\n' "$rounds" \
  "$best_client" "$best_curl" "$count" "$(echo "$mb / 1000000" | bc -l)" "$(echo "$best_client / $best_curl" | bc -l)"
