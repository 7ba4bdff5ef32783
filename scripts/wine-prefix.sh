#!/usr/bin/env bash
# wine-prefix.sh <prefix-dir>: makes a sandboxed Wine prefix there, once.
# The program deletes files and registry entries, so the prefix must not reach the host:
# no z: drive (Wine maps it to /), user shell folders are real folders inside the prefix (not links to
# the host home), and HOME/XDG_DATA_HOME point into the prefix's own folder (Wine's recycle bin is the
# XDG trash).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine-env.sh"
prefix=$(realpath -m "$1")
[ -f "$prefix/.quorvel-ready" ] && exit 0

rm -rf "$prefix" "$prefix.home"
mkdir -p "$prefix.home/data"
export WINEPREFIX="$prefix" HOME="$prefix.home" XDG_DATA_HOME="$prefix.home/data"
cd "$prefix.home"
"$WINE" wineboot -i </dev/null >/dev/null 2>&1
"$WINESERVER" -w
"$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1
"$WINESERVER" -k || true
"$WINESERVER" -w || true

rm -f "$prefix/dosdevices/z:"
find "$prefix/drive_c/users" -type l -print0 | while IFS= read -r -d '' link; do
    rm -f "$link"; mkdir -p "$link"
done
if find "$prefix/dosdevices" -maxdepth 1 -name 'z:' | grep -q .; then echo "z: still present" >&2; exit 1; fi
touch "$prefix/.quorvel-ready"
