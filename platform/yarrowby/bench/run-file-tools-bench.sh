#!/usr/bin/env bash
# run-file-tools-bench.sh <build-dir> [MiB] [passes] [pairs]: shreds, splits and joins one random file (256 MiB by
# default) with Yarrowby and with a bare Win32 program doing the same work under the same Wine (the floor), in
# paired runs, with GNU shred -n, split -b and cat beside them as context; prints the table of
# scripts/bench-stats.py. Every side ends with the data on the disk (flush or sync per pass and per piece). Times
# are taken inside the Wine processes (Wine's start-up is left out). The page cache is not dropped (not allowed
# in this container): the source file is cached for all.
set -euo pipefail
build=$(realpath "${1:?usage: run-file-tools-bench.sh <build-dir> [MiB] [passes] [pairs]}")
mib=${2:-256}
passes=${3:-3}
pairs=${4:-${QUORVEL_BENCH_PAIRS:-7}}
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../../.." && pwd)
run="$root/scripts/wine-run.sh"
cmake --build "$build" --target YarrowbyFileBench >/dev/null
work="$build/bench/yarrowby"
rm -rf "$work"
mkdir -p "$work"
trap 'rm -rf "$work"' EXIT
piece=$((mib * 1024 * 1024 / 4))
pieces=4

now() { date +%s.%N; }
# Runs the bench program on drive B: (the work folder) and prints its own time.
timed() {
    QUORVEL_EXTRA_DRIVES="b:$work" "$run" "$build/bin/YarrowbyFileBench.exe" "$@" | tr -d '\r' |
        awk '/^seconds/ {s=$2} /^failed/ {if ($2 != 0) {print "failed: " $0 > "/dev/stderr"; exit 1}} END {print s}'
}
fresh_victim() { cp "$work/src" "$work/victim"; sync "$work/victim"; }
# <bench> <floor> <floor seconds> <our seconds>
pair() { printf 'pair\t%s\t%s\t%s\t%s\n' "$@"; }
peer() { printf 'peer\t%s\t%s\t%s\t%s\n' "$@"; }

{
echo "source: $mib MiB of random bytes; $passes passes; $pieces pieces of $piece bytes; $pairs pairs"
dd if=/dev/urandom of="$work/src" bs=1M count="$mib" status=none
sync "$work/src"
for ((r = 0; r < pairs; r++)); do
    order="ours bare"; [ $((r % 2)) = 1 ] && order="bare ours"
    for side in $order; do
        fresh_victim
        if [ $side = ours ]; then ys=$(timed shred 'B:\victim' "$passes"); else bs=$(timed bare-shred 'B:\victim' "$passes"); fi
    done
    fresh_victim
    t=$(now); shred -n "$passes" -x "$work/victim"; gs=$(echo "$(now) - $t" | bc); rm -f "$work/victim"
    pair "file shred" "bare overwrite+flush+delete" "$bs" "$ys"; peer "file shred" "GNU shred -n $passes" "$gs" "$ys"

    rm -rf "$work/gnu" "$work/ours" "$work/out"; mkdir -p "$work/gnu" "$work/ours" "$work/out"
    for side in $order; do
        if [ $side = ours ]; then yp=$(timed split 'B:\src' 'B:\ours' "$piece"); else bp=$(timed bare-split 'B:\src' 'B:\out' "$piece"); fi
    done
    t=$(now); split -b "$piece" "$work/src" "$work/gnu/src,"; sync "$work/gnu"/*; gp=$(echo "$(now) - $t" | bc)
    pair "file split" "bare read+write+flush" "$bp" "$yp"; peer "file split" "GNU split -b" "$gp" "$yp"

    for side in $order; do
        if [ $side = ours ]; then yj=$(timed join 'B:\ours' src "$pieces" 'B:\out'); else bj=$(timed bare-join 'B:\ours' src "$pieces" 'B:\out'); fi
    done
    t=$(now); cat "$work/gnu"/src,* > "$work/out/gnu"; sync "$work/out/gnu"; gj=$(echo "$(now) - $t" | bc)
    pair "file join" "bare read+write+flush" "$bj" "$yj"; peer "file join" "GNU cat" "$gj" "$yj"
    cmp "$work/src" "$work/out/gnu"
    cmp "$work/src" "$work/out/src"
    cmp "$work/src" "$work/out/bare-src"
    rm -f "$work/out/src" "$work/out/bare-src"
done
} | python3 "$root/scripts/bench-stats.py" --quiet
