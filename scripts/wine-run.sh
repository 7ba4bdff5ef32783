#!/usr/bin/env bash
# wine-run.sh [--private-bin] <program.exe> [args...]: runs a program of the build under Wine in a fresh
# copy of the build's sandboxed prefix (see wine-prefix.sh). The build's bin folder is drive Q:, so the
# program runs as Q:\<name>.exe and its own folder is Q:\.
#   --private-bin: Q: is a private copy of the bin folder instead, so programs that write beside themselves
#   (registry backups, failed-entry lists) cannot disturb one another when CTest runs them side by side;
#   only Q:\artifacts is shared. Such a run also gets an X display of its own. CTest runs every test program
#   this way.
#   QUORVEL_KEEP_PREFIX=1 keeps the copy afterwards (for inspection); QUORVEL_PREFIX=<dir> picks the copy.
#   QUORVEL_EXTRA_DRIVES="s:<folder> ..." maps more drives (folders inside the build tree only).
# Every run also gets an empty fixed drive Y: of its own, a fixture drive the program fills (pages that walk
# drives are tested on it without walking C:).
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine-env.sh"
private_bin=0
if [ "${1:-}" = --private-bin ]; then private_bin=1; shift; fi
exe=$(realpath "$1"); shift
bin=$(dirname "$exe")
# A program in a subfolder of bin (beside test builds of a library) runs as Q:\<subfolder>\<name>.exe, from Q:\.
case "$bin" in */bin/*) bin=${bin%%/bin/*}/bin ;; esac
build=$(dirname "$bin")
name=$(basename "$exe" .exe)
template="$build/wine/template"

mkdir -p "$build/wine"
( flock 9; "$here/wine-prefix.sh" "$template" ) 9>"$build/wine/.lock" || exit 1

# copy_tree <from> <to> <find tests...>: a copy of a tree whose large files that match the tests are hard links to
# the original (Wine's own libraries, the build's programs: no run writes them in place), while every other file is
# a copy of its own, so what a run writes (the registry files, .ini files, dictionaries) never reaches the original.
copy_tree() {
    local from=$1 to=$2; shift 2
    cp -al "$from" "$to" || return 1
    find "$to" -type f ! \( -size +64k "$@" \) -exec sh -c \
        'for f; do cp -p "$f" "$f.copy" && mv -f "$f.copy" "$f" || exit 1; done' sh {} +
}

run=${QUORVEL_PREFIX:-$build/wine/run/$name}
rm -rf "$run" "$run.home" "$run.bin" "$run.y"
mkdir -p "$(dirname "$run")"
# Programs of the prefix are copies too: tests put stand-ins over system programs (net.exe, sc.exe, ...).
copy_tree "$template" "$run" ! -name '*.reg' ! -name '*.ini' ! -iname '*.exe' || exit 1
mkdir -p "$run.home/data"
drive_q=$bin
if [ $private_bin = 1 ]; then
    drive_q="$run.bin"
    mkdir -p "$drive_q" "$bin/artifacts"
    # Build outputs only: what programs wrote beside themselves in earlier runs is left behind. Programs and
    # libraries are linked, the rest (dictionaries, fixtures) copied.
    find "$bin" -mindepth 1 -maxdepth 1 ! -name artifacts ! -name regbackup ! -name data \
         ! -name coldrith-interop -print0 | while IFS= read -r -d '' entry; do
        copy_tree "$entry" "$drive_q/$(basename "$entry")" \( -iname '*.exe' -o -iname '*.dll' \) || exit 1
    done || exit 1
    ln -s "$bin/artifacts" "$drive_q/artifacts"
fi
ln -s "$drive_q" "$run/dosdevices/q:"
for drive in ${QUORVEL_EXTRA_DRIVES:-}; do
    case "$(realpath -m "${drive#?:}")/" in
        "$build"/*) ln -s "${drive#?:}" "$run/dosdevices/${drive%%:*}:" ;;
        *) echo "wine-run.sh: drive ${drive%%:*}: is outside the build tree" >&2; exit 1 ;;
    esac
done
mkdir -p "$run.y"
ln -s "$run.y" "$run/dosdevices/y:"
export WINEPREFIX="$run" HOME="$run.home" XDG_DATA_HOME="$run.home/data"

QUORVEL_XVFB_PID=
# A run under CTest gets a display of its own: tests read their windows' pixels back from the X server, where
# another test program's window on a shared display could lie over them.
[ $private_bin = 1 ] && unset DISPLAY
quorvel_start_xvfb || exit 1
cleanup() {
    "$WINESERVER" -k >/dev/null 2>&1
    "$WINESERVER" -w >/dev/null 2>&1
    quorvel_stop_xvfb
    [ "${QUORVEL_KEEP_PREFIX:-0}" = 1 ] || rm -rf "$run" "$run.home" "$run.bin" "$run.y"
}
trap cleanup EXIT
# A server with detached output, so Wine's background processes do not hold the caller's pipes.
"$WINESERVER" -p </dev/null >/dev/null 2>&1
cd "$drive_q"
rel=${exe#"$bin"/}
"$WINE" "Q:\\${rel//\//\\}" "$@"
rc=$?
# A program that never started (a missing DLL, a crash before main) prints nothing itself: say how it ended.
[ $rc = 0 ] || echo "wine-run: $name ended with exit code $rc" >&2
exit $rc
