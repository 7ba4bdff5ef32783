#!/usr/bin/env bash
# run-interop.sh <source-root> <bin-folder>: archives written by Coldrith are checked with Info-ZIP, 7z and
# Python; archives written by them are restored by Coldrith (under Wine, as Q:\...) and compared byte by byte;
# a hostile corpus must be refused with nothing written outside its targets.
set -euo pipefail
root=$1
bin=$(realpath "$2")
here=$(cd "$(dirname "$0")" && pwd)
for tool in zip unzip 7z python3; do
    command -v $tool >/dev/null || { echo "missing $tool (scripts/packages.txt)"; exit 1; }
done
work="$bin/coldrith-interop"
rm -rf "$work"
mkdir -p "$work"
trap 'rm -rf "$work"' EXIT
python3 "$here/make_archives.py" "$work" 'Q:\coldrith-interop'
"$root/scripts/wine-run.sh" "$bin/ColdrithZipTool.exe" batch 'Q:\coldrith-interop\batch.txt' > "$work/wine.log" 2>&1 || true
grep -a -E '^(command|error)' "$work/wine.log" | head -80 || true
rc=0
python3 "$here/check.py" "$work" "$work/wine.log" || rc=$?
exit $rc
