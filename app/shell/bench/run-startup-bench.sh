#!/usr/bin/env bash
# run-startup-bench.sh [build dir] [pairs]: start-up of Quorvel.exe to its visible main window against a bare
# one-window program, paired runs under the same Wine (goal <= 1.5x). QUORVEL_STARTUP_PROFILE=<Windows path>
# makes Quorvel add the timing of its start-up steps to that file (see app/shell/StartupProfile.h).
set -euo pipefail
root=$(cd "$(dirname "$0")/../../.." && pwd)
build=$(realpath "${1:-$root/build/x64}")
export QUORVEL_BENCH_PAIRS=${2:-${QUORVEL_BENCH_PAIRS:-7}}
cmake --build "$build" --target ShellStartupBench QuorvelBareWindow Quorvel >/dev/null
"$root/scripts/wine-run.sh" "$build/bin/ShellStartupBench.exe" | sed -u 's/\r$//' |
    python3 "$root/scripts/bench-stats.py" --goal "start-up to visible window=1.5"
