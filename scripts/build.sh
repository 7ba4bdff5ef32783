#!/usr/bin/env bash
# build.sh x64|x86: configures and builds one target architecture in build/<arch>.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
case "${1:-x64}" in
    x64) toolchain=x86_64; tests=ON ;;
    x86) toolchain=i686; tests=OFF ;;   # 32-bit Wine is not available here: built and linked, not run
    *) echo "usage: build.sh x64|x86" >&2; exit 2 ;;
esac
dir="$root/build/${1:-x64}"
# A compiler cache, when the machine has one, shares objects between checkouts of the project.
launcher=""
if command -v ccache >/dev/null; then
    export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$root} CCACHE_NOHASHDIR=1
    launcher="-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache"
fi
cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-$toolchain.cmake" -DQUORVEL_RUN_TESTS=$tests $launcher >/dev/null
cmake --build "$dir"
