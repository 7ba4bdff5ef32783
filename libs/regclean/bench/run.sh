#!/usr/bin/env bash
# run.sh [build-dir]: builds and runs the registry engine benchmark in a fresh sandboxed prefix and prints
# the ratios scan/floor and clean/bare deletes.
set -euo pipefail
root=$(cd "$(dirname "$0")/../../.." && pwd)
build=${1:-$root/build/x64}
cmake --build "$build" --target BexlarBench >/dev/null
"$root/scripts/wine-run.sh" "$build/bin/BexlarBench.exe"
