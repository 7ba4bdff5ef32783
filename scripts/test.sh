#!/usr/bin/env bash
# test.sh: sets everything up, builds x86_64 and i686, and runs every test under Wine (x86_64).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
start=$(date +%s)
bash scripts/setup.sh
bash scripts/build.sh x64
echo "test: x86_64 built in $(( $(date +%s) - start )) s"

# The i686 build and its release packages are made beside the tests; the log is shown when they fail.
( bash scripts/build.sh x86 > build/x86-build.log 2>&1 && bash scripts/package.sh x86 --no-build >> build/x86-build.log 2>&1
  echo $? > build/x86-build.rc ) &
x86=$!

. scripts/wine-env.sh
QUORVEL_XVFB_PID=
quorvel_start_xvfb
trap quorvel_stop_xvfb EXIT
tests_start=$(date +%s)
rc=0
# Test runs share the prefix template's and the build's programs and libraries by hard links (wine-run.sh): a run
# that wrote into one of them would change every later run, so their checksums must be the same afterwards.
shared_files() {
    find build/x64/wine/template build/x64/bin -type f -size +64k ! -name '*.reg' ! -name '*.ini' \
         ! -path 'build/x64/bin/artifacts/*' ! -path 'build/x64/bin/regbackup/*' ! -path 'build/x64/bin/data/*' \
         ! -path 'build/x64/bin/coldrith-interop/*' -print0 | sort -z | xargs -0 md5sum
}
mkdir -p build/x64/wine
( flock 9; scripts/wine-prefix.sh build/x64/wine/template ) 9>build/x64/wine/.lock
shared_files > build/x64/shared-files.md5
ctest --test-dir build/x64 -j "$(nproc)" --output-on-failure --timeout 900 || rc=$?
echo "test: tests ran in $(( $(date +%s) - tests_start )) s"
if ! shared_files | diff build/x64/shared-files.md5 - >&2; then
    echo "test: a test changed a file of the prefix template or of bin that every run shares"
    rc=1
fi

wait $x86 || true
if [ "$(cat build/x86-build.rc 2>/dev/null)" != 0 ]; then
    tail -50 build/x86-build.log
    echo "test: the i686 build or its packages failed"
    rc=1
else
    echo "test: i686 built and packed:"
    cat build/x86/bin/artifacts/packages/Quorvel-*-x86.files.txt | grep -v '^dic\\' | sed 's/^/    /'
fi
echo "test: total $(( $(date +%s) - start )) s"
exit $rc
