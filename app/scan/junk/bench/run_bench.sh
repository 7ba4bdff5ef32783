#!/usr/bin/env bash
# run_bench.sh <build dir> [files] [pairs]: the junk-file page's walk of a seeded tree (100,000 files by default)
# against a bare FindFirstFileW walk of the same tree, under Wine, in a fresh sandboxed prefix (the tree is
# seeded on its fixture drive Y:), in paired runs.
set -euo pipefail
build=$(realpath "${1:?usage: run_bench.sh <build dir> [files] [pairs]}"); shift
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../../../.." && pwd)
cmake --build "$build" --target JunkWalkBench >/dev/null
"$root/scripts/wine-run.sh" "$build/bin/JunkWalkBench.exe" "$@" | sed -u 's/\r$//' |
    python3 "$root/scripts/bench-stats.py" --goal "junk page walk=1.2"
