#!/usr/bin/env bash
# run-junk-bench.sh <build-dir> [files] [pairs]: seeds a tree of junk and other files (20,000 by default: the ratio is the same as with 100,000, in a fifth of the time) in a
# fresh sandboxed prefix and prints the junk scanner against a bare FindFirstFileW walk of the same tree and
# against that walk with one message per file, in paired runs.
set -euo pipefail
build=$(realpath "${1:?usage: run-junk-bench.sh <build-dir> [files] [pairs]}")
files=${2:-20000}
export QUORVEL_BENCH_PAIRS=${3:-${QUORVEL_BENCH_PAIRS:-7}}
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../../.." && pwd)
cmake --build "$build" --target LumbreyJunkBench >/dev/null
"$root/scripts/wine-run.sh" "$build/bin/LumbreyJunkBench.exe" "$files" | sed -u 's/\r$//' |
    python3 "$root/scripts/bench-stats.py" --goal "junk scan=1.2"
