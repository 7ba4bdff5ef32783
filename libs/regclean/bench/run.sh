#!/usr/bin/env bash
# run.sh [build-dir] [pairs]: builds and runs the registry engine benchmark in a fresh sandboxed prefix and prints
# the table of the scan against its floor and of the clean against bare deletes (paired runs).
set -euo pipefail
root=$(cd "$(dirname "$0")/../../.." && pwd)
build=$(realpath "${1:-$root/build/x64}")
export QUORVEL_BENCH_PAIRS=${2:-${QUORVEL_BENCH_PAIRS:-7}}
cmake --build "$build" --target BexlarBench >/dev/null
"$root/scripts/wine-run.sh" "$build/bin/BexlarBench.exe" | sed -u 's/\r$//' |
    python3 "$root/scripts/bench-stats.py" --goal "registry scan=1.3" --goal "registry clean=2.0"
