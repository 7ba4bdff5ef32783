#!/usr/bin/env bash
# run-folder-bench.sh <build-dir> [small|all] [pairs]: folder backup and restore of (b) 20,000 files of 1-8 KiB
# nested three deep and, with "all", (a) one 200 MB file, each against bare programs doing the same work under the
# same Wine (ColdrithFolderBench, paired runs; it stops with an error when any output is wrong), with Info-ZIP
# zip -6 / unzip -o on the same data beside them as context. Prints the table of scripts/bench-stats.py with the
# machine's load. Goals: backup and restore <= 1.10x their floors.
set -euo pipefail
build=$(realpath "${1:?usage: run-folder-bench.sh <build-dir> [small|all] [pairs]}")
which=${2:-small}
export QUORVEL_BENCH_PAIRS=${3:-${QUORVEL_BENCH_PAIRS:-7}}
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../../.." && pwd)
bin="$build/bin"
cmake --build "$build" --target ColdrithFolderBench >/dev/null
work="$bin/coldrith-bench"
rm -rf "$work"; mkdir -p "$work"
trap 'rm -rf "$work"' EXIT
python3 "$here/make_data.py" "$work/data" "$which"
sync

now() { date +%s.%N; }
# Info-ZIP on the same data, as many runs as pairs; printed as peer lines beside our runs of the same index.
peers() {  # <folder> <label>
    local t0 i
    cd "$bin"
    for ((i = 0; i < QUORVEL_BENCH_PAIRS; i++)); do
        rm -rf "$work/peer.zip" "$work/peer-out"
        t0=$(now); zip -q -6 -r "$work/peer.zip" "coldrith-bench/data/$1"; echo "zip $(echo "$(now) - $t0" | bc)"
        t0=$(now); unzip -q -o "$work/peer.zip" -d "$work/peer-out"; echo "unzip $(echo "$(now) - $t0" | bc)"
    done > "$work/peers-$1.txt"
    cd - >/dev/null
}
ours() {  # <folder> <label>
    "$root/scripts/wine-run.sh" "$bin/ColdrithFolderBench.exe" "Q:\\coldrith-bench\\data\\$1" \
        "Q:\\coldrith-bench\\work-$1" "$2" | sed -u 's/\r$//' | tee "$work/ours-$1.txt"
    # Peer lines: zip beside our backup, unzip beside our restore, run by run.
    paste <(grep '^zip ' "$work/peers-$1.txt" | cut -d' ' -f2) \
          <(awk -F'\t' '$1 == "pair" && $2 ~ /^folder backup/ {print $5}' "$work/ours-$1.txt") |
        awk -v b="folder backup ($2)" 'NF == 2 {printf "peer\t%s\tInfo-ZIP zip -6\t%s\t%s\n", b, $1, $2}'
    paste <(grep '^unzip ' "$work/peers-$1.txt" | cut -d' ' -f2) \
          <(awk -F'\t' '$1 == "pair" && $2 ~ /^folder restore/ {print $5}' "$work/ours-$1.txt") |
        awk -v b="folder restore ($2)" 'NF == 2 {printf "peer\t%s\tInfo-ZIP unzip -o\t%s\t%s\n", b, $1, $2}'
}
{
    peers small
    ours small "20,000 nested files"
    if [ "$which" = all ]; then
        peers big
        ours big "200 MB file"
    fi
} | python3 "$root/scripts/bench-stats.py" --quiet \
    --goal "folder backup (20,000 nested files)=1.10" --goal "folder restore (20,000 nested files)=1.10" \
    --goal "folder backup (200 MB file)=1.10" --goal "folder restore (200 MB file)=1.10"
