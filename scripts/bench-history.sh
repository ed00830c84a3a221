#!/usr/bin/env bash
# Figures for loading the upload history under Wine on this machine (printed, never asserted):
# a history of [records] records (default 100,000) written and loaded [rounds] times (default 5);
# the load's time and the index's memory. Aims: under 100 ms and 10 MB for 100,000 records.
# Usage: scripts/bench-history.sh [records] [rounds]
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh"

prepare_bench_tool history_bench

"$FERNWICK_ROOT/scripts/lib/wine-run.sh" "$FERNWICK_WIN_BUILD/tools/history_bench.exe" "$@" | tr -d '\r'
