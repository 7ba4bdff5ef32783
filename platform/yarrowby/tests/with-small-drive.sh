#!/usr/bin/env bash
# with-small-drive.sh <program.exe>: runs a test program as CTest runs the others (wine-run.sh --private-bin),
# with two drives more: S:, a small file system of its own (an 8 MiB ext2 image mounted through a loop device
# inside a private mount namespace, so it goes away with the run), and R:, the folder holding that image, so the
# test can read the raw bytes behind S:. Where mounting is not allowed the program runs without the two drives
# and skips what needs them.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
run=$(cd "$here/../../../scripts" && pwd)/wine-run.sh
exe=$(realpath "$1"); shift
build=$(dirname "$(dirname "$exe")")
work="$build/wine/run/$(basename "$exe" .exe).drive"
rm -rf "$work"
mkdir -p "$work/raw" "$work/mount"
trap 'rm -rf "$work"' EXIT
truncate -s 8M "$work/raw/small.img"
if mkfs.ext2 -q -F -b 1024 -m 0 "$work/raw/small.img" >/dev/null 2>&1 &&
   unshare --mount --propagation private true 2>/dev/null; then
    unshare --mount --propagation private bash -c '
        if mount -o loop "$1/raw/small.img" "$1/mount" 2>/dev/null; then
            export QUORVEL_EXTRA_DRIVES="s:$1/mount r:$1/raw"
        fi
        shift
        exec "$@"' _ "$work" "$run" --private-bin "$exe" "$@"
else
    "$run" --private-bin "$exe" "$@"
fi
