#!/usr/bin/env bash
# run-register-bench.sh <build-dir> [pairs]: re-registers every DLL of a fresh sandboxed prefix's system folder
# with the real regsvr32, through the repair library (a few at a time) and through a one-by-one batch script, in
# paired runs. Ratio = library time / script time (goal <= 0.67, a speed-up of 1.5). Takes minutes per pair.
set -euo pipefail
build=$(realpath "${1:?usage: run-register-bench.sh <build-dir> [pairs]}")
export QUORVEL_BENCH_PAIRS=${2:-${QUORVEL_BENCH_PAIRS:-3}}
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../../.." && pwd)
cmake --build "$build" --target MoravinRegisterDllBench >/dev/null
"$root/scripts/wine-run.sh" "$build/bin/MoravinRegisterDllBench.exe" | sed -u 's/\r$//' |
    python3 "$root/scripts/bench-stats.py" --goal "DLL re-registration=0.67"
