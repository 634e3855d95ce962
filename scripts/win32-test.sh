#!/usr/bin/env bash
# Cross-builds the Win32 backend and its tests with mingw-w64 and runs them under wine64 in a private prefix.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/win32-cross}

scripts/deps.sh test mingw-w64 wine64

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
cmake -S platform/windows -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64.cmake" "${launcher[@]}" >/dev/null
cmake --build "$build" -j2

wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
wineserver=$(command -v wineserver || echo /usr/lib/wine/wineserver)
# A prefix of our own, so the tests that write the registry and the desktop folder touch nobody's settings,
# and no display: nothing here needs a window.
export WINEPREFIX
WINEPREFIX=$(mktemp -d "${TMPDIR:-/tmp}/zindrel-wine.XXXXXX")
export WINEDEBUG=-all
unset DISPLAY WAYLAND_DISPLAY
cleanup() {
  "$wineserver" -k 2>/dev/null || true
  rm -rf "$WINEPREFIX"
}
trap cleanup EXIT
# Wine makes no Windows links but follows unix ones: the file replace is tried through this one.
links="$WINEPREFIX/links"
mkdir "$links"
printf '[main]\r\n' >"$links/linked.ini"
ln -s linked.ini "$links/link.ini"
export ZINDREL_TEST_LINKS="Z:${links//\//\\}"
"$wine" "$build/zindrel_win32_tests.exe"
