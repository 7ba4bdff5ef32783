#!/usr/bin/env bash
# run-file-tools-bench.sh <build-dir> [MiB] [passes] [rounds] [tools]: shreds, splits and joins one random file (1024 MiB
# by default) with Yarrowby and with GNU shred -n, split -b and cat in the same run, and prints per tool the median
# of the paired ratios GNU time / Yarrowby time, their range, the number of pairs and the machine's load (at least
# 0.9 is the goal: Yarrowby no slower than 0.9x their speed). tools: some of "shred split join" (join needs split).
# Paired runs: each round times GNU and Yarrowby back to back on the same work, GNU first in odd rounds and second
# in even ones, so a load that comes and goes on a shared machine falls on both sides of a pair alike. Every timed
# run starts after a sync, so no side pays for the other's (or the setup's) dirty pages.
# Both sides end with the data on the disk: GNU shred syncs each pass, split and cat are followed by sync of their
# files, and Yarrowby flushes each pass, each piece and the joined file. GNU shred runs without -u, so it does not
# rename and delete the file while Yarrowby does. Yarrowby runs in one Wine session for the whole bench and is
# timed inside its process. The page cache is not dropped (not allowed in this container): the source file is
# cached for both.
set -euo pipefail
# The timed runs are command substitutions: without this a failing check inside one would not stop the bench.
shopt -s inherit_errexit
build=$(realpath "${1:?usage: run-file-tools-bench.sh <build-dir> [MiB] [passes] [rounds] [tools]}")
mib=${2:-1024}
passes=${3:-3}
rounds=${4:-7}
tools=${5:-shred split join}
here=$(cd "$(dirname "$0")" && pwd)
run="$here/../../../scripts/wine-run.sh"
cmake --build "$build" --target YarrowbyFileBench >/dev/null
work="$build/bench/yarrowby"
rm -rf "$work"
mkdir -p "$work"
# At most the source, two sets of pieces and two joined files at a time.
need=$((5 * mib + 256))
free=$(df -Pm "$work" | awk 'NR == 2 {print $4}')
if [ "$free" -lt "$need" ]; then
    echo "run-file-tools-bench.sh: $need MiB of free disk needed in $work, $free MiB free" >&2
    exit 1
fi
piece=$((100 * 1024 * 1024))
pieces=$(( (mib * 1024 * 1024 + piece - 1) / piece ))

coproc WINEBENCH { QUORVEL_EXTRA_DRIVES="b:$work" "$run" "$build/bin/YarrowbyFileBench.exe" serve; }
wine_pid=$WINEBENCH_PID
to_wine=${WINEBENCH[1]}
from_wine=${WINEBENCH[0]}
finish() {
    exec {to_wine}>&- 2>/dev/null || true
    wait "$wine_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap finish EXIT
read_wine() {
    local line
    IFS= read -r line <&"$from_wine" || { echo "run-file-tools-bench.sh: the Wine side ended" >&2; exit 1; }
    printf '%s' "${line%$'\r'}"
}
[ "$(read_wine)" = ready ] || { echo "run-file-tools-bench.sh: the Wine side did not start" >&2; exit 1; }

echo "source: $mib MiB of random bytes; $passes passes; pieces of $piece bytes ($pieces); $rounds rounds;" \
     "$(nproc) CPUs"
dd if=/dev/urandom of="$work/src" bs=1M count="$mib" status=none
sync "$work/src"

# Elapsed seconds of a command, started on a settled disk.
gnu() {
    sync
    local start=$EPOCHREALTIME
    "$@"
    echo "$EPOCHREALTIME - $start" | bc
}
# Yarrowby's own time for one bench command, started on a settled disk.
yarrowby() {
    sync
    echo "$*" >&"$to_wine"
    local answer
    answer=$(read_wine)
    case "$answer" in
        "seconds "*" failed 0 "*) set -- $answer; echo "$2" ;;
        *) echo "run-file-tools-bench.sh: yarrowby $1: $answer" >&2; exit 1 ;;
    esac
}
# A wrong output ends the bench at once: its time must never reach the ratios.
same_or_fail() {
    cmp -s "$1" "$2" || { echo "run-file-tools-bench.sh: $3: $2 differs from $1" >&2; exit 1; }
}
gnu_shred() { cp "$work/src" "$work/victim"; gnu shred -n "$passes" -x "$work/victim"; rm -f "$work/victim"; }
ours_shred() {
    cp "$work/src" "$work/victim"
    yarrowby shred 'B:\victim' "$passes"
    [ ! -e "$work/victim" ] || { echo "run-file-tools-bench.sh: the shredded file is still there" >&2; exit 1; }
}
split_and_sync() { split -b "$piece" "$work/src" "$work/gnu/src,"; sync "$work/gnu"/*; }
gnu_split() { rm -rf "$work/gnu"; mkdir "$work/gnu"; gnu split_and_sync; }
ours_split() { rm -rf "$work/ours"; mkdir "$work/ours"; yarrowby split 'B:\src' 'B:\ours' "$piece"; }
cat_and_sync() { cat "$work/gnu"/* > "$work/out/gnu"; sync "$work/out/gnu"; }
gnu_join() {
    mkdir -p "$work/out"
    gnu cat_and_sync
    same_or_fail "$work/src" "$work/out/gnu" "cat"
    rm -f "$work/out/gnu"
}
ours_join() {
    mkdir -p "$work/out"
    yarrowby join 'B:\ours' src "$pieces" 'B:\out'
    same_or_fail "$work/src" "$work/out/src" "yarrowby join"
    rm -f "$work/out/src"
}

times="$work/times"   # tool, GNU seconds, Yarrowby seconds, 1-minute load average, one pair a line
: > "$times"
for ((r = 1; r <= rounds; r++)); do
    line="round $r:"
    for tool in $tools; do
        load=$(cut -d' ' -f1 /proc/loadavg)
        if ((r % 2)); then g=$("gnu_$tool"); y=$("ours_$tool"); else y=$("ours_$tool"); g=$("gnu_$tool"); fi
        echo "$tool $g $y $load" >> "$times"
        line+=" $tool gnu $g s, yarrowby $y s, ratio $(echo "scale=2; $g / $y" | bc), load $load;"
    done
    echo "$line"
done

echo "ratio = GNU time / Yarrowby time per pair (goal >= 0.90); load = mean 1-minute load average"
awk -v cpus="$(nproc)" -v peers="shred=shred -n $passes;split=split -b;join=cat" -f "$here/paired-stats.awk" \
    "$times"
echo "load at the end: $(cat /proc/loadavg)"
