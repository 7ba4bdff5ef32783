#!/usr/bin/env bash
# run-shortcut-bench.sh <build-dir> [entries] [pairs]: seeds a tree (10,000 entries by default, one in ten a link)
# in a fresh sandboxed prefix and prints the shortcut scan against its lower bound on the same tree, paired runs.
set -euo pipefail
build=$(realpath "${1:?usage: run-shortcut-bench.sh <build-dir> [entries] [pairs]}")
entries=${2:-10000}
export QUORVEL_BENCH_PAIRS=${3:-${QUORVEL_BENCH_PAIRS:-7}}
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../../.." && pwd)
cmake --build "$build" --target MoravinShortcutBench >/dev/null
"$root/scripts/wine-run.sh" "$build/bin/MoravinShortcutBench.exe" "$entries" | sed -u 's/\r$//' |
    python3 "$root/scripts/bench-stats.py" --goal "shortcut scan (same thread)=1.2"
