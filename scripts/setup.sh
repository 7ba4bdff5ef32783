#!/usr/bin/env bash
# Installs what the build and the tests need, and fetches the Debian sources of SQLite and TinyXML
# into third_party/src (ignored by git). Safe to run again: finished steps are skipped.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
src="$root/third_party/src"
export DEBIAN_FRONTEND=noninteractive

sudo_() { if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi; }

packages=$(grep -v '^\s*#' "$root/scripts/packages.txt" | grep -v '^\s*$' | tr '\n' ' ')
missing=$(for p in $packages; do dpkg-query -W -f='${Status}\n' "$p" 2>/dev/null | grep -q '^install ok installed' || echo "$p"; done)

# apt-get source needs deb-src entries; add them beside the machine's deb entries when there are none.
ensure_deb_src() {
    if grep -rqs '^\s*deb-src\|^Types:.*deb-src' /etc/apt/sources.list /etc/apt/sources.list.d/; then return 1; fi
    local f=/etc/apt/sources.list.d/debian.sources
    if [ -f "$f" ]; then
        sudo_ sed 's/^Types: deb$/Types: deb-src/' "$f" | sudo_ tee /etc/apt/sources.list.d/quorvel-src.sources >/dev/null
    else
        grep -hs '^deb ' /etc/apt/sources.list | sed 's/^deb /deb-src /' | sudo_ tee /etc/apt/sources.list.d/quorvel-src.list >/dev/null
    fi
    return 0
}

need_src=0
[ -f "$src/sqlite3/sqlite3.c" ] && [ -f "$src/tinyxml/tinyxml.cpp" ] || need_src=1
[ -f "$src/sqlite3/copyright" ] && [ -f "$src/tinyxml/copyright" ] || need_src=1
updated=0
if [ -n "$missing" ] || [ $need_src = 1 ]; then
    ensure_deb_src || true
    # An unrelated index (e.g. i386) may fail to update on these machines: carry on.
    sudo_ apt-get update -qq || echo "setup: apt-get update reported errors; continuing" >&2
    updated=1
fi
if [ -n "$missing" ]; then
    echo "setup: installing $missing"
    sudo_ apt-get install -y -qq --no-install-recommends $missing >/dev/null
fi

mkdir -p "$src"
if [ ! -f "$src/sqlite3/sqlite3.c" ] || [ ! -f "$src/sqlite3/copyright" ]; then
    echo "setup: fetching and generating the SQLite amalgamation"
    rm -rf "$src/sqlite3-pkg" && mkdir -p "$src/sqlite3-pkg"
    (cd "$src/sqlite3-pkg" && apt-get source -qq sqlite3 >/dev/null)
    tree=$(find "$src/sqlite3-pkg" -mindepth 1 -maxdepth 1 -type d -name 'sqlite3-*' | head -1)
    mkdir -p "$tree/bld"
    (cd "$tree/bld" && ../configure --disable-tcl >/dev/null && make -s sqlite3.c >/dev/null)
    mkdir -p "$src/sqlite3.tmp"
    cp "$tree/bld/sqlite3.c" "$tree/bld/sqlite3.h" "$src/sqlite3.tmp/"
    cp "$tree/debian/copyright" "$src/sqlite3.tmp/copyright"   # shipped with the release packages
    rm -rf "$src/sqlite3" && mv "$src/sqlite3.tmp" "$src/sqlite3"
    rm -rf "$src/sqlite3-pkg"
fi
if [ ! -f "$src/tinyxml/tinyxml.cpp" ] || [ ! -f "$src/tinyxml/copyright" ]; then
    echo "setup: fetching TinyXML (without the STL patch)"
    rm -rf "$src/tinyxml-pkg" && mkdir -p "$src/tinyxml-pkg"
    (cd "$src/tinyxml-pkg" && apt-get source -qq --download-only tinyxml >/dev/null)
    dsc=$(ls "$src/tinyxml-pkg"/*.dsc | head -1)
    (cd "$src/tinyxml-pkg" && dpkg-source --skip-patches -x "$dsc" tree >/dev/null)
    tree="$src/tinyxml-pkg/tree"
    # Apply Debian's fixes, but not the one that forces the STL build.
    if [ -f "$tree/debian/patches/series" ]; then
        while read -r p; do
            case "$p" in ''|'#'*|*enforce-use-stl*) continue ;; esac
            (cd "$tree" && patch -p1 -s < "debian/patches/$p")
        done < "$tree/debian/patches/series"
    fi
    mkdir -p "$src/tinyxml.tmp"
    cp "$tree"/tinyxml.cpp "$tree"/tinyxml.h "$tree"/tinystr.cpp "$tree"/tinystr.h \
       "$tree"/tinyxmlerror.cpp "$tree"/tinyxmlparser.cpp "$src/tinyxml.tmp/"
    cp "$tree/debian/copyright" "$src/tinyxml.tmp/copyright"
    rm -rf "$src/tinyxml" && mv "$src/tinyxml.tmp" "$src/tinyxml"
    rm -rf "$src/tinyxml-pkg"
fi
echo "setup: ready"
