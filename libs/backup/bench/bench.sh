#!/usr/bin/env bash
# bench.sh <build-folder> [small]: backs up and restores (a) one 200 MB file and (b) 20,000 small files with Coldrith
# (ColdrithZipTool under Wine, default level) and with Info-ZIP zip -6 / unzip on the same data, in one run.
# Prints speed ratios (peer time / our time, goal >= 1.0) and the size ratio (ours / zip, goal <= 1.01).
# Our times are measured inside the program (no Wine start-up); the wall time with start-up is shown too.
set -euo pipefail
build=$(realpath "$1")
bin="$build/bin"
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../../.." && pwd)
work="$bin/coldrith-bench"
rm -rf "$work"; mkdir -p "$work"
trap 'rm -rf "$work"' EXIT
# "small" leaves the big file empty (a quick run of part (b) only).
python3 "$here/make_data.py" "$work/data" "${2:-all}"
sync

now() { date +%s.%N; }
elapsed() { python3 -c "print(f'{$2 - $1:.3f}')"; }

# Peers, from the bin folder so they store the same names as ours (path without drive).
cd "$bin"
t0=$(now); zip -q -6 -r "$work/peer-big.zip" coldrith-bench/data/big; t1=$(now)
zip_big=$(elapsed $t0 $t1)
t0=$(now); zip -q -6 -r "$work/peer-small.zip" coldrith-bench/data/small; t1=$(now)
zip_small=$(elapsed $t0 $t1)
t0=$(now); unzip -q -o "$work/peer-big.zip" -d "$work/peer-out-big"; t1=$(now)
unzip_big=$(elapsed $t0 $t1)
t0=$(now); unzip -q -o "$work/peer-small.zip" -d "$work/peer-out-small"; t1=$(now)
unzip_small=$(elapsed $t0 $t1)
sync

q='Q:\coldrith-bench'
printf 'backup\t%s\tours-big\t1\t%s\n' "$q" "$q\\data\\big" > "$work/batch.txt"
printf 'restore\t%s\t%s\n' "$q\\ours-big.fbk" "$q\\out-big" >> "$work/batch.txt"
printf 'backup\t%s\tours-small\t1\t%s\n' "$q" "$q\\data\\small" >> "$work/batch.txt"
printf 'restore\t%s\t%s\n' "$q\\ours-small.fbk" "$q\\out-small" >> "$work/batch.txt"
t0=$(now)
"$root/scripts/wine-run.sh" "$bin/ColdrithZipTool.exe" batch "$q\\batch.txt" > "$work/wine.log" 2>&1 || {
    cat "$work/wine.log"; exit 1; }
t1=$(now)
wall=$(elapsed $t0 $t1)
mapfile -t ms < <(grep -a -Eo 'outcome 0 ms [0-9]+' "$work/wine.log" | awk '{print $4}')
[ ${#ms[@]} = 4 ] || { echo "not every command succeeded:"; cat "$work/wine.log"; exit 1; }
cmp -s "$work/data/big/big.bin" "$work/out-big/big.bin" || { echo "big file restored differently"; exit 1; }
[ "$(find "$work/out-small" -type f | wc -l)" = 20000 ] || { echo "small files not all restored"; exit 1; }

python3 - "$work" "${ms[@]}" "$zip_big" "$unzip_big" "$zip_small" "$unzip_small" "$wall" <<'PY'
import os, sys
work = sys.argv[1]
ours_bb, ours_rb, ours_bs, ours_rs = (int(x) / 1000 for x in sys.argv[2:6])
zip_big, unzip_big, zip_small, unzip_small, wall = (float(x) for x in sys.argv[6:11])
size = lambda n: os.path.getsize(os.path.join(work, n))
print("%-28s %10s %10s %8s" % ("", "Coldrith", "Info-ZIP", "ratio"))
rows = [("(a) 200 MB backup, s", ours_bb, zip_big), ("(a) 200 MB restore, s", ours_rb, unzip_big),
        ("(b) 20,000 files backup, s", ours_bs, zip_small), ("(b) 20,000 files restore, s", ours_rs, unzip_small)]
for name, ours, peer in rows:
    print("%-28s %10.2f %10.2f %7.2fx  (speed, peer/ours; goal >= 1.0)" % (name, ours, peer, peer / ours))
for name, ours, peer in (("(a) archive size, bytes", size("ours-big.fbk"), size("peer-big.zip")),
                         ("(b) archive size, bytes", size("ours-small.fbk"), size("peer-small.zip"))):
    print("%-28s %10d %10d %7.4fx  (size, ours/peer; goal <= 1.01)" % (name, ours, peer, ours / peer))
print("Coldrith wall time of all four runs with Wine start-up: %.2f s (in-process %.2f s)"
      % (wall, ours_bb + ours_rb + ours_bs + ours_rs))
PY
