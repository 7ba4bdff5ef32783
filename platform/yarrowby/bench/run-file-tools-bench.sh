#!/usr/bin/env bash
# run-file-tools-bench.sh <build-dir> [MiB] [passes] [rounds] [tools]: shreds, splits and joins one random file (1024 MiB
# by default) with Yarrowby and with GNU shred -n, split -b and cat in the same run, and prints per tool the median
# of the paired ratios GNU time / Yarrowby time, their range, the number of pairs and the machine's load (at least
# 0.9 is the goal: Yarrowby no slower than 0.9x their speed). tools: some of "shred split join" (join needs split).
# Paired runs: each round times GNU and Yarrowby back to back on the same work, GNU first in odd rounds and second
# in even ones, so a load that comes and goes on a shared machine falls on both sides of a pair alike. Here the side
# that writes second is slower, whichever it is (even after a sync and a wait for the disk to go quiet): the goal is
# judged on the balanced ratio, the geometric mean of the medians of both orders (paired-stats.awk).
# Both sides of a pair start from the same disk and cache: the input is read once before the pair (the page cache
# cannot be dropped here), every timed run starts after a sync, and no output is removed between the two sides
# of a pair. The outputs of a round go only at its end, followed by a sync, so that no side runs just after a
# 1 GiB removal (its freed blocks are discarded on this disk) the other side did not have. Both joins join the
# same pieces (Yarrowby's, checked equal to GNU split's).
# Both sides also start on memory in the same state. This machine hands memory that was freed back to its host
# about two seconds later, and a write into such memory costs a host fault per page: 1 GiB written right after a
# removal took 0.18 s, the same write 3 s after it 0.9 s, with the same program (profiled: nearly all of either side's
# processor time is the kernel's copy into the file cache). So the side that ran first, soon after the previous
# round's removal, or the one that followed a quick side, wrote into memory still held by the machine and the other
# did not. Every timed run therefore starts after a sync and a wait until the freed memory has gone back.
# Both sides end with the data on the disk: GNU shred syncs each pass, split and cat are followed by sync of their
# files, and Yarrowby flushes each pass, each piece and the joined file. GNU shred runs without -u, so it does not
# rename and delete the file while Yarrowby does. Yarrowby runs in one Wine session for the whole bench and is
# timed inside its process.
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
# At most the source, two shredded copies (GNU's stays), two sets of pieces and two joined files at a time.
need=$((6 * mib + 256))
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

# A settled disk and settled memory (see above) before each timed run.
settle() {
    sync
    sleep 3
}
# Elapsed seconds of a command, started after settle.
gnu() {
    settle
    local start=$EPOCHREALTIME
    "$@"
    echo "$EPOCHREALTIME - $start" | bc
}
# Yarrowby's own time for one bench command, started after settle.
yarrowby() {
    settle
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
# Yarrowby's pieces in their order (a glob would put 10 before 2).
our_pieces() { local n; for ((n = 1; n <= pieces; n++)); do echo "$work/ours/src,$n.splt"; done; }
gnu_pieces() { ls "$work/gnu"/src,*; }

# Per tool: <tool>_input reads the input of the pair once, gnu_<tool> and ours_<tool> are the timed sides (they
# leave their outputs in place), <tool>_check fails the bench on a wrong output.
shred_input() { cat "$work/src" > /dev/null; }
gnu_shred() { cp "$work/src" "$work/gnu-victim"; gnu shred -n "$passes" -x "$work/gnu-victim"; }
ours_shred() { cp "$work/src" "$work/victim"; yarrowby shred 'B:\victim' "$passes"; }
shred_check() {
    [ ! -e "$work/victim" ] || { echo "run-file-tools-bench.sh: the shredded file is still there" >&2; exit 1; }
}
split_input() { cat "$work/src" > /dev/null; }
split_and_sync() { split -b "$piece" "$work/src" "$work/gnu/src,"; sync "$work/gnu"/*; }
gnu_split() { mkdir "$work/gnu"; gnu split_and_sync; }
ours_split() { mkdir "$work/ours"; yarrowby split 'B:\src' 'B:\ours' "$piece"; }
split_check() {
    local -a ours theirs
    mapfile -t ours < <(our_pieces)
    mapfile -t theirs < <(gnu_pieces)
    [ "${#theirs[@]}" -eq "$pieces" ] && [ "$(ls "$work/ours" | wc -l)" -eq "$pieces" ] ||
        { echo "run-file-tools-bench.sh: split: not $pieces pieces" >&2; exit 1; }
    local i
    for ((i = 0; i < pieces; i++)); do same_or_fail "${theirs[i]}" "${ours[i]}" "yarrowby split"; done
}
join_input() { cat $(our_pieces) > /dev/null; }
cat_and_sync() { cat $(our_pieces) > "$work/out/gnu"; sync "$work/out/gnu"; }
gnu_join() { gnu cat_and_sync; }
ours_join() { yarrowby join 'B:\ours' src "$pieces" 'B:\out'; }
join_check() {
    same_or_fail "$work/src" "$work/out/gnu" "cat"
    same_or_fail "$work/src" "$work/out/src" "yarrowby join"
}
# The outputs of a round, removed after its last pair and written out before the next timed run.
clean_round() {
    rm -rf "$work/gnu-victim" "$work/victim" "$work/gnu" "$work/ours" "$work/out"
    mkdir "$work/out"
    sync
}

times="$work/times"   # tool, GNU seconds, Yarrowby seconds, 1-minute load average, GNU first (1/0), one pair a line
: > "$times"
clean_round
for ((r = 1; r <= rounds; r++)); do
    line="round $r:"
    for tool in $tools; do
        "${tool}_input"
        load=$(cut -d' ' -f1 /proc/loadavg)
        if ((r % 2)); then g=$("gnu_$tool"); y=$("ours_$tool"); else y=$("ours_$tool"); g=$("gnu_$tool"); fi
        "${tool}_check"
        echo "$tool $g $y $load $((r % 2))" >> "$times"
        line+=" $tool gnu $g s, yarrowby $y s, ratio $(echo "scale=2; $g / $y" | bc), load $load;"
    done
    clean_round
    echo "$line"
done

echo "ratio = GNU time / Yarrowby time per pair; load = mean 1-minute load average; balanced = geometric mean of" \
     "the medians with GNU first and with Yarrowby first (goal >= 0.90)"
awk -v cpus="$(nproc)" -v peers="shred=shred -n $passes;split=split -b;join=cat" -f "$here/paired-stats.awk" \
    "$times"
echo "load at the end: $(cat /proc/loadavg)"
