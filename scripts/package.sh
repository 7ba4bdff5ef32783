#!/usr/bin/env bash
# package.sh x86|x64 [--no-build]: the release packages of one architecture from its release build: a portable
# zip and an MSI installer, Quorvel-<version>-<arch>.zip/.msi, in build/<arch>/bin/artifacts/packages (where the
# installed-program test finds them under Wine).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
arch=${1:-x86}
case "$arch" in
    x86) triplet=i686-w64-mingw32; libgcc=gcc-mingw-w64-i686 ;;
    x64) triplet=x86_64-w64-mingw32; libgcc=gcc-mingw-w64-x86-64 ;;
    *) echo "usage: package.sh x86|x64 [--no-build]" >&2; exit 2 ;;
esac
[ "${2:-}" = --no-build ] || bash "$root/scripts/build.sh" "$arch"
build="$root/build/$arch"
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
[ -n "$version" ] || { echo "package: no version in $build/CMakeCache.txt" >&2; exit 1; }

doc=/usr/share/doc
python3 "$root/scripts/packaging/make_package.py" \
    --bin "$build/bin" --arch "$arch" --version "$version" --objdump "$triplet-objdump" \
    --delay-loaded "$build/lib/Quorvel.delay-loaded.txt" \
    --out "$build/bin/artifacts/packages" --stage "$build/package" \
    --readme "$root/scripts/packaging/README.txt" \
    --licence "zlib=$doc/libz-mingw-w64/copyright" \
    --licence "SQLite=$root/third_party/src/sqlite3/copyright" \
    --licence "TinyXML=$root/third_party/src/tinyxml/copyright" \
    --licence "GCC-runtime=$doc/gcc-mingw-w64-base/copyright" \
    --licence "mingw-w64-runtime=$doc/mingw-w64-common/copyright"
