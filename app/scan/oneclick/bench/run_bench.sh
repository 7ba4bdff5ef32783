#!/usr/bin/env bash
# run_bench.sh <build dir> [--registry-problems N]: the one-click scan against its parts run alone (the longest
# one, and their sum), under Wine, in paired runs (pairs: QUORVEL_BENCH_PAIRS, default 7).
set -euo pipefail
build=$(realpath "${1:?build dir}"); shift
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../../../.." && pwd)
cmake --build "$build" --target OneClickBench >/dev/null
"$root/scripts/wine-run.sh" "$build/bin/OneClickBench.exe" "$@" | sed -u 's/\r$//' |
    python3 "$root/scripts/bench-stats.py" --goal "one-click scan/longest part alone=1.1"
