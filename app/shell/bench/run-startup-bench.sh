#!/usr/bin/env bash
# run-startup-bench.sh [build dir] [pairs]: start-up of Quorvel.exe to its visible main window against a bare
# one-window program, paired runs under the same Wine (goals: <= 2.2x the bare window, <= 1.3x the bare window loading the same modules). QUORVEL_STARTUP_PROFILE=<Windows path>
# makes Quorvel add the timing of its start-up steps to that file (see app/shell/StartupProfile.h).
# A second table runs the same pairs with Wine held on one CPU (taskset): every call into the wineserver wakes
# another process, and on a machine where waking a process on another CPU is slow that wake-up, not the work,
# sets the time; held on one CPU both programs start two to three times faster and the ratio is far steadier.
set -euo pipefail
root=$(cd "$(dirname "$0")/../../.." && pwd)
build=$(realpath "${1:-$root/build/x64}")
export QUORVEL_BENCH_PAIRS=${2:-${QUORVEL_BENCH_PAIRS:-7}}
cmake --build "$build" --target ShellStartupBench QuorvelBareWindow Quorvel >/dev/null
"$root/scripts/wine-run.sh" "$build/bin/ShellStartupBench.exe" | sed -u 's/\r$//' |
    python3 "$root/scripts/bench-stats.py" --goal "start-up to visible window/bare one-window program=2.2" \
        --goal "start-up to visible window/bare window loading Quorvel's imports=1.3"
if command -v taskset >/dev/null; then
    echo
    taskset -c 0 "$root/scripts/wine-run.sh" "$build/bin/ShellStartupBench.exe" |
        sed -u 's/\r$//; s/^\(pair\tstart-up to visible window\)/\1, on one CPU/' |
        python3 "$root/scripts/bench-stats.py"
fi
