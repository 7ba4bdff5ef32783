# Sourced by the Wine scripts: the environment every Wine call of the project uses.
# Quiet, no Mono/Gecko prompts, no desktop files written into $HOME, stable locale and clock.
export WINEARCH=win64
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree,mshtml="
# Without the en_US.UTF-8 locale installed, Wine falls back to ASCII file names on the host: use C.UTF-8 then.
if locale -a 2>/dev/null | grep -qix 'en_US.utf-\?8'; then export LANG=en_US.UTF-8; else export LANG=C.UTF-8; fi
export TZ=UTC
export no_proxy=127.0.0.1,localhost
unset http_proxy https_proxy HTTP_PROXY HTTPS_PROXY
WINE=${WINE:-wine}
command -v "$WINE" >/dev/null || WINE=wine64
WINESERVER=${WINESERVER:-wineserver}
command -v "$WINESERVER" >/dev/null || WINESERVER=/usr/lib/wine/wineserver64

# Starts an Xvfb on a free display when none is set; sets QUORVEL_XVFB_PID so the caller can stop it.
quorvel_start_xvfb() {
    if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then return 0; fi
    local fifo; fifo=$(mktemp -u); mkfifo "$fifo"
    Xvfb -displayfd 3 -nolisten tcp -screen 0 1280x1024x24 3>"$fifo" >/dev/null 2>&1 &
    QUORVEL_XVFB_PID=$!
    local n; read -r n < "$fifo"; rm -f "$fifo"
    export DISPLAY=":$n"
    for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && return 0; sleep 0.1; done
    echo "Xvfb did not start" >&2; return 1
}
quorvel_stop_xvfb() { [ -n "${QUORVEL_XVFB_PID:-}" ] && kill "$QUORVEL_XVFB_PID" 2>/dev/null; QUORVEL_XVFB_PID=; }
