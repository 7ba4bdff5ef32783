#!/usr/bin/env bash
# run-fuzz.sh <backup-folder> <work-folder> <seconds>: builds the zip reader natively with clang, libFuzzer,
# AddressSanitizer and UndefinedBehaviorSanitizer, and fuzzes it for a fixed time from seed archives.
set -euo pipefail
src=$(realpath "$1")
work=$(realpath -m "$2")
seconds=${3:-60}
command -v clang++ >/dev/null || { echo "clang++ missing (scripts/packages.txt: clang)"; exit 1; }
mkdir -p "$work/corpus" "$work/artifacts"
here="$src/tests/fuzz"
core=(ZipAutoBuffer ZipException ZipFileHeader ZipMemFile ZipStorage ZipCentralDir ZipArchive ZipArchiveFiles ZipEntryName)
sources=()
for f in "${core[@]}"; do sources+=("$src/zip/$f.cpp"); done
clang++ -std=c++17 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
    -I "$src/zip" "${sources[@]}" "$here/ZipPlatformStub.cpp" "$here/ZipReaderFuzz.cpp" -lz -o "$work/zip-reader-fuzz"
python3 "$here/make_seeds.py" "$work/seeds"
# Seeds from other tools too, when they are installed.
if command -v zip >/dev/null; then
    tmp=$(mktemp -d); trap 'rm -rf "$tmp"' EXIT
    mkdir -p "$tmp/t/sub"; echo "seed text seed text" > "$tmp/t/a.txt"; : > "$tmp/t/sub/zero"
    (cd "$tmp" && zip -q -r "$work/seeds/info-zip.zip" t && zip -q -r -0 "$work/seeds/info-zip-0.zip" t)
fi
log="$work/fuzz.log"
rc=0
ASAN_OPTIONS=detect_leaks=1 "$work/zip-reader-fuzz" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=2048 \
    -dict="$here/zip.dict" -artifact_prefix="$work/artifacts/" -print_final_stats=1 \
    "$work/corpus" "$work/seeds" > "$log" 2>&1 || rc=$?
runs=$(grep -Eo 'Done [0-9]+ runs' "$log" | grep -Eo '[0-9]+' || echo 0)
crashes=$(ls "$work/artifacts" | wc -l)
echo "fuzz: $runs executions in ${seconds} s, $crashes crash/timeout artifact(s), corpus $(ls "$work/corpus" | wc -l) inputs"
if [ "$rc" != 0 ] || [ "$crashes" != 0 ]; then
    tail -40 "$log"
    exit 1
fi
