#!/usr/bin/env bash
# run-register-bench.sh <build-dir>: re-registers every DLL of a fresh sandboxed prefix's system folder with the
# real regsvr32, once through the repair library and twice through a one-by-one batch script, and prints the
# wall times and the speed-up against its floor. Takes several minutes.
set -euo pipefail
build=$(realpath "${1:?usage: run-register-bench.sh <build-dir>}")
here=$(cd "$(dirname "$0")" && pwd)
cmake --build "$build" --target MoravinRegisterDllBench >/dev/null
"$here/../../../scripts/wine-run.sh" "$build/bin/MoravinRegisterDllBench.exe"
