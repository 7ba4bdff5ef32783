#!/usr/bin/env bash
# run-junk-bench.sh <build-dir> [files]: seeds a tree of junk and other files (100,000 by default) in a fresh
# sandboxed prefix and prints the junk scanner's time against a bare FindFirstFileW walk of the same tree.
set -euo pipefail
build=$(realpath "${1:?usage: run-junk-bench.sh <build-dir> [files]}")
files=${2:-100000}
here=$(cd "$(dirname "$0")" && pwd)
cmake --build "$build" --target LumbreyJunkBench >/dev/null
"$here/../../../scripts/wine-run.sh" "$build/bin/LumbreyJunkBench.exe" "$files"
