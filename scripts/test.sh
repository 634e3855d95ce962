#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test; then the unit tests under ASan + UBSan +
# LeakSanitizer, then the fuzz targets.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
# Clones in other folders share the compiler cache.
export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
preset=dev
[ "${CI:-}" = "true" ] && preset=ci
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset"
status=0
ctest --preset "$preset" -j2 || status=1
cmake --preset asan >/dev/null
cmake --build --preset asan
ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp ctest --preset asan -j2 || status=1
# Every fuzz target for 30 s (clang, libFuzzer); scripts/fuzz.sh 600 is the longer local run.
scripts/fuzz.sh 30 || status=1
exit $status
