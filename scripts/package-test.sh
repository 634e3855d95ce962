#!/usr/bin/env bash
# Builds the Debian package and runs it on a clean Debian 12: installed with apt into a fresh debootstrap root
# (made once and kept in ~/.cache/zindrel/bookworm-root), started there, then purged. Needs root.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh test
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO=sudo
export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
cmake --preset release >/dev/null
cmake --build --preset release
out=build/release/package
rm -rf "$out"
cpack --config build/release/CPackConfig.cmake -G DEB -B "$out"
debs=("$out"/zindrel_*.deb)

root="${XDG_CACHE_HOME:-$HOME/.cache}/zindrel/bookworm-root"
if [ ! -d "$root" ]; then
  # The archive this machine itself installs from, as /etc/apt names it.
  mirror=$(apt-get indextargets --format '$(SITE)' 'Identifier: Packages' 'Release: bookworm' 'Component: main' \
    'Target-Of: deb' | head -n1)
  [ -n "$mirror" ] || { echo "no Debian 12 (bookworm) main archive in /etc/apt" >&2; exit 1; }
  mkdir -p "$(dirname "$root")"
  $SUDO rm -rf "$root.part"
  echo "making a clean Debian 12 root in $root (a few minutes, once)"
  $SUDO debootstrap --variant=minbase bookworm "$root.part" "$mirror"
  $SUDO mv "$root.part" "$root"
fi
$SUDO env ZINDREL_ARTEFACTS="$PWD/build/release/test-artefacts" /usr/bin/python3 tests/package/clean_root.py \
  "$root" "${debs[0]}"
