#!/usr/bin/env bash
# run_bench.sh <build dir> [files] [pairs]: the junk-file page's walk of a seeded tree (100,000 files by default)
# against a bare FindFirstFileW walk of the same tree, under Wine, in a fresh sandboxed prefix (the tree is
# seeded on its fixture drive Y:).
set -euo pipefail
build=$(realpath "${1:?usage: run_bench.sh <build dir> [files] [pairs]}"); shift
here=$(cd "$(dirname "$0")" && pwd)
cmake --build "$build" --target JunkWalkBench >/dev/null
exec "$here/../../../../scripts/wine-run.sh" "$build/bin/JunkWalkBench.exe" "$@"
