#!/usr/bin/env bash
# run-shortcut-bench.sh <build-dir> [entries]: seeds a tree (10,000 entries by default, one in ten a link) in a
# fresh sandboxed prefix and prints the shortcut scan's time against its lower bound on the same tree.
set -euo pipefail
build=$(realpath "${1:?usage: run-shortcut-bench.sh <build-dir> [entries]}")
entries=${2:-10000}
here=$(cd "$(dirname "$0")" && pwd)
cmake --build "$build" --target MoravinShortcutBench >/dev/null
"$here/../../../scripts/wine-run.sh" "$build/bin/MoravinShortcutBench.exe" "$entries"
