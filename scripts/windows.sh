#!/usr/bin/env bash
# Cross-builds Qt for Windows and libjpeg-turbo from Debian's own sources (once, cached outside the checkout), then
# zindrel.exe, its zip and its per-user MSI, and runs the program's journeys under wine64.
# Usage: scripts/windows.sh [qt | jpeg | exe | journeys | cached | all]   (default all)
#   qt        builds (or reuses) the cached Qt and prints its prefix
#   jpeg      builds (or reuses) the cached libjpeg-turbo and prints its prefix
#   exe       both of those, then build/windows/zindrel.exe and zindrel-<version>-windows-x86_64.zip and .msi
#   journeys  the journeys under wine64 on a private X server and in a private prefix (after exe)
#   cached    succeeds when the cached Qt is there (nothing is built)
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$PWD

out=${ZINDREL_WINDOWS_BUILD:-$repo/build/windows}

cache=${ZINDREL_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/zindrel}
qt_options=(
  -DBUILD_SHARED_LIBS=OFF -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DCMAKE_BUILD_TYPE=Release
  -DFEATURE_network=OFF -DFEATURE_sql=OFF -DFEATURE_printsupport=OFF -DFEATURE_dbus=OFF
  -DFEATURE_testlib=OFF -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF
  # The Wintab header is not in Debian's source; OpenGL stays on (dynamic), 6.4's Windows plugin needs it.
  -DFEATURE_tabletevent=OFF -DFEATURE_icu=OFF
)

# A deb-src entry made of the machine's own Debian entries: the same archives and suites.
add_deb_src() {
  local out=/etc/apt/sources.list.d/zindrel-deb-src.sources
  [ -f "$out" ] && return
  local entries=""
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] || continue
    grep -q 'debian-archive-keyring' "$f" || continue
    entries+=$(awk 'BEGIN { RS = ""; ORS = "\n\n" } /Types:[ \t]*deb([ \t\n]|$)/ && !/deb-src/ {
      sub(/Types:[^\n]*/, "Types: deb-src"); print }' "$f")
    entries+=$'\n'
  done
  if [ -f /etc/apt/sources.list ]; then
    while read -r line; do
      entries+=$'\n'"$(sed -E 's/^deb[[:space:]]+(\[[^]]*\][[:space:]]+)?([^[:space:]]+)[[:space:]]+([^[:space:]]+)[[:space:]]+(.*)$/Types: deb-src\nURIs: \2\nSuites: \3\nComponents: \4/' <<<"$line")"$'\n'
    done < <(grep -E '^deb[[:space:]]' /etc/apt/sources.list | grep -i debian || true)
  fi
  [ -n "${entries//[[:space:]]/}" ] || { echo "windows.sh: no Debian apt entry to derive a deb-src entry from" >&2; exit 1; }
  printf '%s\n' "$entries" >"$out"
  apt-get update -qq
}

# The cached Qt's prefix: keyed by the Debian version and the options, so either change makes a new one.
# Sets qt_version, qt_key and qt_prefix, which build_qt uses too.
find_qt() {
  qt_version=$(dpkg-query -W -f='${Version}' qt6-base-dev)
  qt_key=$(printf '%s\n' "$qt_version" "${qt_options[@]}" | sha256sum | cut -c1-12)
  qt_prefix="$cache/qt6-windows-$qt_key"
}

build_qt() {
  find_qt
  if [ -f "$qt_prefix/.complete" ]; then
    return
  fi
  # Two runs at once (two clones, or the journeys of one while another builds) build the Qt once: the second waits.
  mkdir -p "$cache"
  exec 9>"$cache/qt6-windows-$qt_key.lock"
  flock 9
  if [ -f "$qt_prefix/.complete" ]; then
    return
  fi
  add_deb_src
  local work="$cache/qt6-windows-$qt_key.build"
  mkdir -p "$work"
  if [ ! -d "$work/src" ]; then
    rm -rf "$work/get"
    mkdir -p "$work/get"
    (cd "$work/get" && apt-get source -qq "qt6-base=$qt_version")
    mv "$(find "$work/get" -mindepth 1 -maxdepth 1 -type d -name 'qt6-base-*' | head -1)" "$work/src"
  fi
  cmake -S "$work/src" -B "$work/build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$repo/cmake/mingw-w64.cmake" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DCMAKE_INSTALL_PREFIX="$qt_prefix" "${qt_options[@]}" >"$work/configure.log"
  cmake --build "$work/build" -j"$(nproc)"
  cmake --install "$work/build" >/dev/null
  touch "$qt_prefix/.complete"
}

jpeg_options=(-DENABLE_SHARED=OFF -DWITH_TURBOJPEG=OFF -DWITH_SIMD=OFF -DCMAKE_BUILD_TYPE=Release)

# libjpeg-turbo, static, from the source of the very version the Linux build uses: Debian has no mingw libjpeg.
build_jpeg() {
  local version key
  version=$(dpkg-query -W -f='${source:Version}' libjpeg62-turbo-dev)
  key=$(printf '%s\n' "$version" "${jpeg_options[@]}" | sha256sum | cut -c1-12)
  jpeg_prefix="$cache/libjpeg-turbo-windows-$key"
  if [ -f "$jpeg_prefix/.complete" ]; then
    return
  fi
  mkdir -p "$cache"
  exec 8>"$cache/libjpeg-turbo-windows-$key.lock"
  flock 8
  if [ -f "$jpeg_prefix/.complete" ]; then
    return
  fi
  add_deb_src
  local work="$cache/libjpeg-turbo-windows-$key.build"
  rm -rf "$work"
  mkdir -p "$work/get"
  if ! (cd "$work/get" && apt-get source -qq "libjpeg-turbo=$version" >/dev/null 2>"$work/source.log"); then
    # An archive mirror that lacks the .dsc still serves the two tarballs, which apt has checked against the
    # Sources index: unpacked by hand, with Debian's patches applied in their series' order.
    local orig debian
    orig=$(find "$work/get" -maxdepth 1 -name 'libjpeg-turbo_*.orig.tar.*' | head -1)
    debian=$(find "$work/get" -maxdepth 1 -name 'libjpeg-turbo_*.debian.tar.*' | head -1)
    if [ -z "$orig" ] || [ -z "$debian" ]; then
      cat "$work/source.log" >&2
      exit 1
    fi
    mkdir "$work/get/libjpeg-turbo-unpacked"
    tar -xf "$orig" -C "$work/get/libjpeg-turbo-unpacked" --strip-components=1
    tar -xf "$debian" -C "$work/get/libjpeg-turbo-unpacked"
    local series="$work/get/libjpeg-turbo-unpacked/debian/patches/series"
    if [ -f "$series" ]; then
      grep -v -e '^#' -e '^[[:space:]]*$' "$series" | while read -r patch _; do
        patch -s -p1 -d "$work/get/libjpeg-turbo-unpacked" <"$(dirname "$series")/$patch"
      done
    fi
  fi
  mv "$(find "$work/get" -mindepth 1 -maxdepth 1 -type d -name 'libjpeg-turbo-*' | head -1)" "$work/src"
  cmake -S "$work/src" -B "$work/build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$repo/cmake/mingw-w64.cmake" \
    -DCMAKE_INSTALL_PREFIX="$jpeg_prefix" "${jpeg_options[@]}" >"$work/configure.log"
  cmake --build "$work/build" -j2 >"$work/build.log" || { tail -30 "$work/build.log" >&2; exit 1; }
  cmake --install "$work/build" >/dev/null
  touch "$jpeg_prefix/.complete"
  rm -rf "$work"
}

# zindrel.exe against the cached Qt (its toolchain file puts the static Qt and the host tools in place), and the zip.
build_exe() {
  build_qt
  build_jpeg
  local launcher=()
  command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
  mkdir -p "$out"
  cmake -S . -B "$out" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$qt_prefix/lib/cmake/Qt6/qt.toolchain.cmake" \
    -DQT_CHAINLOAD_TOOLCHAIN_FILE="$repo/cmake/mingw-w64.cmake" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DZINDREL_PLATFORM=windows -DZINDREL_TESTS=OFF -DZINDREL_WERROR=ON \
    -DJPEG_INCLUDE_DIR="$jpeg_prefix/include" -DJPEG_LIBRARY="$jpeg_prefix/lib/libjpeg.a" \
    "${launcher[@]}" >"$out/configure.log" 2>&1 || { cat "$out/configure.log" >&2; exit 1; }
  cmake --build "$out" -j2 --target zindrel
  local version
  version=$(sed -n 's/^CMAKE_PROJECT_VERSION:[A-Z]*=//p' "$out/CMakeCache.txt")
  zip="$out/zindrel-$version-windows-x86_64.zip"
  local staging="$out/zip"
  rm -rf "$staging" "$zip"
  mkdir -p "$staging"
  cp "$out/zindrel.exe" "$staging/"
  # Notepad on every Windows reads UTF-8 with its mark and CR LF.
  { printf '\xef\xbb\xbf'; sed 's/$/\r/' packaging/windows/readme.txt; } >"$staging/readme.txt"
  (cd "$staging" && python3 -m zipfile -c "$zip" zindrel.exe readme.txt)
  rm -rf "$staging"
  echo "$zip"
  build_msi "$version" "$out/zindrel-$version-windows-x86_64.msi"
  echo "$out/zindrel-$version-windows-x86_64.msi"
}

# The per-user MSI of build/windows/zindrel.exe as `version` (the project's, unless a test asks for another).
build_msi() {
  local version=$1 msi=$2 publisher staging
  publisher=$(cmake -P cmake/ZindrelVersion.cmake | sed -n 2p)
  # wixl finds the files it packs by their names in the folder it runs in.
  staging=$(mktemp -d "$out/msi.XXXXXX")
  cp "$out/zindrel.exe" resources/zindrel.ico "$staging/"
  (cd "$staging" && wixl -a x64 -D Version="$version" -D Publisher="$publisher" -D Exe=zindrel.exe \
    -D Icon=zindrel.ico -o "$msi" "$repo/packaging/windows/zindrel.wxs")
  rm -rf "$staging"
}

run_journeys() {
  local version publisher artefacts="$out/test-artefacts"
  version=$(cmake -P cmake/ZindrelVersion.cmake | sed -n 1p)
  publisher=$(cmake -P cmake/ZindrelVersion.cmake | sed -n 2p)
  mkdir -p "$artefacts"
  # The upgrade journey's newer build is the same program packed under a higher version: an upgrade looks at
  # the MSI's ProductVersion alone, and a second build of the program would cost minutes for nothing.
  build_msi 99.0.0.0 "$artefacts/zindrel-99.0.0.0-windows-x86_64.msi"
  ZINDREL_EXE="$out/zindrel.exe" ZINDREL_MSI="$out/zindrel-$version-windows-x86_64.msi" \
    ZINDREL_NEXT_MSI="$artefacts/zindrel-99.0.0.0-windows-x86_64.msi" ZINDREL_VERSION="$version" \
    ZINDREL_PUBLISHER="$publisher" ZINDREL_ARTEFACTS="$artefacts" \
    /usr/bin/python3 tests/wine/journeys.py
}

stage=${1:-all}
[ "$stage" = cached ] || scripts/deps.sh test mingw-w64 wine64 dpkg-dev wixl msitools
case "$stage" in
  qt)
    build_qt
    echo "$qt_prefix"
    ;;
  jpeg)
    build_jpeg
    echo "$jpeg_prefix"
    ;;
  exe)
    build_exe
    ;;
  journeys)
    run_journeys
    ;;
  cached)
    find_qt
    [ -f "$qt_prefix/.complete" ]
    ;;
  all)
    build_exe
    run_journeys
    ;;
  *)
    echo "usage: $0 [qt | jpeg | exe | journeys | cached | all]" >&2
    exit 2
    ;;
esac
