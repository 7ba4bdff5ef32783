#!/usr/bin/env bash
# run-file-tools-bench.sh <build-dir> [MiB] [passes] [rounds]: shreds, splits and joins one random file (1024 MiB
# by default) with Yarrowby and with GNU shred -n, split -b and cat in the same run, alternating, and prints each
# time and the ratio GNU time / Yarrowby time (at least 0.9 is the goal: Yarrowby no slower than 0.9x their speed).
# Both sides end with the data on the disk: GNU shred syncs each pass, split and cat are followed by sync of their
# files, and Yarrowby flushes each pass and each piece. Yarrowby is timed inside its process (Wine's start-up is
# left out). The page cache is not dropped (not allowed in this container): the source file is cached for both.
set -euo pipefail
build=$(realpath "${1:?usage: run-file-tools-bench.sh <build-dir> [MiB] [passes] [rounds]}")
mib=${2:-1024}
passes=${3:-3}
rounds=${4:-3}
here=$(cd "$(dirname "$0")" && pwd)
run="$here/../../../scripts/wine-run.sh"
cmake --build "$build" --target YarrowbyFileBench >/dev/null
work="$build/bench/yarrowby"
rm -rf "$work"
mkdir -p "$work"
trap 'rm -rf "$work"' EXIT
piece=$((100 * 1024 * 1024))
pieces=$(( (mib * 1024 * 1024 + piece - 1) / piece ))

echo "source: $mib MiB of random bytes; $passes passes; pieces of $piece bytes ($pieces); $rounds rounds"
dd if=/dev/urandom of="$work/src" bs=1M count="$mib" status=none
sync "$work/src"

now() { date +%s.%N; }
# Runs the bench program on drive B: (the work folder) and prints its own time.
yarrowby() {
    QUORVEL_EXTRA_DRIVES="b:$work" "$run" "$build/bin/YarrowbyFileBench.exe" "$@" | tr -d '\r' |
        awk '/^seconds/ {s=$2} /^failed/ {if ($2 != 0) {print "yarrowby failed: " $0 > "/dev/stderr"; exit 1}} END {print s}'
}
fresh_victim() { cp "$work/src" "$work/victim"; sync "$work/victim"; }

declare -a gs ys gp yp gj yj
for ((r = 1; r <= rounds; r++)); do
    fresh_victim
    t=$(now); shred -n "$passes" -x "$work/victim"; gs+=("$(echo "$(now) - $t" | bc)")
    rm -f "$work/victim"
    fresh_victim
    ys+=("$(yarrowby shred 'B:\victim' "$passes")")

    rm -rf "$work/gnu" "$work/ours" "$work/out"; mkdir -p "$work/gnu" "$work/ours" "$work/out"
    t=$(now); split -b "$piece" "$work/src" "$work/gnu/src,"; sync "$work/gnu"/*; gp+=("$(echo "$(now) - $t" | bc)")
    yp+=("$(yarrowby split 'B:\src' 'B:\ours' "$piece")")

    t=$(now); cat "$work/gnu"/* > "$work/out/gnu"; sync "$work/out/gnu"; gj+=("$(echo "$(now) - $t" | bc)")
    yj+=("$(yarrowby join 'B:\ours' src "$pieces" 'B:\out')")
    cmp "$work/src" "$work/out/gnu"
    cmp "$work/src" "$work/out/src"
    echo "round $r: shred gnu ${gs[-1]} s, yarrowby ${ys[-1]} s; split gnu ${gp[-1]} s, yarrowby ${yp[-1]} s;" \
         "join gnu ${gj[-1]} s, yarrowby ${yj[-1]} s"
done

median() { printf '%s\n' "$@" | sort -g | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
report() {
    local name=$1 gnu ours
    gnu=$(median "${@:2:$rounds}")
    ours=$(median "${@:$((2 + rounds)):$rounds}")
    printf '%-6s gnu %7.2f s  yarrowby %7.2f s  ratio %.2f  (%s)\n' "$name" "$gnu" "$ours" \
        "$(echo "$gnu / $ours" | bc -l)" "$(echo "$gnu / $ours >= 0.9" | bc -l | sed 's/1/goal met/;s/0/below the goal/')"
}
echo "medians (ratio = GNU time / Yarrowby time; goal >= 0.90):"
report shred "${gs[@]}" "${ys[@]}"
report split "${gp[@]}" "${yp[@]}"
report join "${gj[@]}" "${yj[@]}"
