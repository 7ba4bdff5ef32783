#!/usr/bin/env bash
# startup.sh [build dir]: start-up of Quorvel.exe to its visible main window under Wine, five runs. Each run is
# the app test's first step (CreateProcess of Q:\Quorvel.exe with a running wineserver, until IsWindowVisible).
set -uo pipefail
root=$(cd "$(dirname "$0")/../../.." && pwd)
build=${1:-$root/build/x64}
for run in 1 2 3 4 5; do
    "$root/scripts/wine-run.sh" "$build/bin/ShellAppTests.exe" \
        --gtest_filter=MainWindow.IsARoundedTitledWindowWithTranslatedCaptions 2>/dev/null |
        grep -o 'start-up to visible main window: [0-9]* ms'
done
