#!/usr/bin/env bash
# The installed-program test's set-up (run by CTest on the host): the x64 packages of this build, and the portable
# zip unpacked where the test program finds it under Wine (Q:\artifacts\portable).
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
bash "$root/scripts/package.sh" x64 --no-build
bin="$root/build/x64/bin"
rm -rf "$bin/artifacts/portable"
mkdir -p "$bin/artifacts/portable"
unzip -q "$bin"/artifacts/packages/Quorvel-*-x64.zip -d "$bin/artifacts/portable"
