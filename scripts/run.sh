#!/usr/bin/env bash
# run.sh: sets up, builds and starts Quorvel under Wine in a sandboxed prefix. On a machine without a
# display it runs under Xvfb, saves a screenshot of the screen and says where.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/setup.sh
bash scripts/build.sh x64
. scripts/wine-env.sh
exe="$root/build/x64/bin/Quorvel.exe"
export QUORVEL_PREFIX="$root/build/x64/wine/user" QUORVEL_KEEP_PREFIX=1
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    exec scripts/wine-run.sh "$exe" "$@"
fi

QUORVEL_XVFB_PID=
quorvel_start_xvfb
trap quorvel_stop_xvfb EXIT
scripts/wine-run.sh "$exe" "$@" &
runner=$!
shot="$root/build/x64/artifacts/quorvel.png"
mkdir -p "$(dirname "$shot")"
for _ in $(seq 120); do
    xwininfo -root -tree 2>/dev/null | grep -q '"Quorvel"' && break
    sleep 0.5
done
sleep 3   # let the window paint
import -window root "$shot"
WINEPREFIX="$QUORVEL_PREFIX" "$WINESERVER" -k || true
wait $runner || true
echo "run: no display here; Quorvel ran under Xvfb and its screen is saved in $shot"
