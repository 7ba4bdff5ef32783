#!/usr/bin/env bash
# run_bench.sh <build dir> [--registry-problems N]: one-click scan wall time against its longest part, under Wine.
set -euo pipefail
build=$(realpath "${1:?build dir}"); shift
here=$(cd "$(dirname "$0")" && pwd)
cmake --build "$build" --target OneClickBench >/dev/null
exec "$here/../../../../scripts/wine-run.sh" "$build/bin/OneClickBench.exe" "$@"
