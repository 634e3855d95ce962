#!/usr/bin/env bash
# Cross-builds Qt for Windows from Debian's own qtbase source (once, cached outside the checkout).
# Usage: scripts/windows.sh qt    builds (or reuses) the cached Qt and prints its prefix.
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$PWD

scripts/deps.sh mingw-w64 wine64 dpkg-dev

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

build_qt() {
  local version
  version=$(dpkg-query -W -f='${Version}' qt6-base-dev)
  local key
  key=$(printf '%s\n' "$version" "${qt_options[@]}" | sha256sum | cut -c1-12)
  qt_prefix="$cache/qt6-windows-$key"
  if [ -f "$qt_prefix/.complete" ]; then
    return
  fi
  add_deb_src
  local work="$cache/qt6-windows-$key.build"
  mkdir -p "$work"
  if [ ! -d "$work/src" ]; then
    rm -rf "$work/get"
    mkdir -p "$work/get"
    (cd "$work/get" && apt-get source -qq "qt6-base=$version")
    mv "$(find "$work/get" -mindepth 1 -maxdepth 1 -type d -name 'qt6-base-*' | head -1)" "$work/src"
  fi
  cmake -S "$work/src" -B "$work/build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$repo/cmake/mingw-w64.cmake" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DCMAKE_INSTALL_PREFIX="$qt_prefix" "${qt_options[@]}" >"$work/configure.log"
  cmake --build "$work/build" -j"$(nproc)"
  cmake --install "$work/build" >/dev/null
  touch "$qt_prefix/.complete"
}

case "${1:-}" in
  qt)
    build_qt
    echo "$qt_prefix"
    ;;
  *)
    echo "usage: $0 qt" >&2
    exit 2
    ;;
esac
