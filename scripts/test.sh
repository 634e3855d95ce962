#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test: unit and system tests, the Win32 backend
# under wine64, the Windows program's journeys under wine64 (when the cross-built Qt is cached), the fuzz targets,
# and last the unit tests under ASan + UBSan + LeakSanitizer.
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
# The Win32 backend cross-built with mingw-w64, its call sequences checked under wine64.
scripts/win32-test.sh || status=1
# zindrel.exe and its journeys under wine64 need the Qt for Windows that scripts/windows.sh builds once (25 min
# and more); without it they are left out, and said so.
if scripts/windows.sh cached; then
  code=0
  scripts/windows.sh all || code=$?
  # 77: a service the journeys need (the X server, the window manager) could not start; the reason is above.
  if [ "$code" -eq 77 ]; then
    echo "test.sh: the Windows program's journeys under wine were skipped: a service they need could not start"
  elif [ "$code" -ne 0 ]; then
    status=1
  fi
else
  echo "test.sh: the Windows program's journeys under wine were left out: no cached Qt for Windows (scripts/windows.sh qt builds it)"
fi
# Every fuzz target for 30 s (clang, libFuzzer); scripts/fuzz.sh 600 is the longer local run.
scripts/fuzz.sh 30 || status=1
# Last, so the run ends with ctest's summary: the unit tests under ASan + UBSan + LeakSanitizer.
cmake --preset asan >/dev/null
cmake --build --preset asan
ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp ctest --preset asan -j2 || status=1
exit $status
