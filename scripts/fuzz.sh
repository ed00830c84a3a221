#!/usr/bin/env bash
# Builds the libFuzzer targets of tests/fuzz with clang (a tree of its own, build/fuzz) and runs
# each for a bounded time; prints executions and findings. Crashing inputs land in
# build/fuzz/findings/. Usage: scripts/fuzz.sh [seconds per target, default 60] [target...]
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh"
seconds="${1:-60}"
dir="$FERNWICK_BUILD/fuzz"
targets=(reply_rules_fuzz upload_body_fuzz settings_text_fuzz exif_block_fuzz jpeg_header_fuzz heif_webp_header_fuzz)
(($# > 1)) && targets=("${@:2}")

cmake -S "$FERNWICK_ROOT" -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang \
  -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build "$dir" -j "$FERNWICK_JOBS" --target "${targets[@]}" >/dev/null

mkdir -p "$dir/findings"
status=0
for target in "${targets[@]}"; do
  corpus="$dir/corpus/$target"
  mkdir -p "$corpus"
  log="$dir/$target.log"
  # Hand-made starting inputs, when the target has some, are read beside the corpus.
  seeds=()
  [[ -d "$FERNWICK_ROOT/tests/fuzz/seeds/$target" ]] && seeds=("$FERNWICK_ROOT/tests/fuzz/seeds/$target")
  if "$dir/tests/fuzz/$target" -max_total_time="$seconds" -max_len=4096 -artifact_prefix="$dir/findings/$target-" \
      "$corpus" "${seeds[@]}" >"$log" 2>&1; then
    result="no findings"
  else
    result="FINDINGS (see $dir/findings and $log)"
    status=1
  fi
  runs="$(grep -Eo 'Done [0-9]+ runs' "$log" | grep -Eo '[0-9]+' || true)"
  printf '%-18s %12s executions in %ss, corpus %s inputs: %s\n' "$target" "${runs:-?}" "$seconds" \
    "$(find "$corpus" -type f | wc -l)" "$result"
done
exit $status
