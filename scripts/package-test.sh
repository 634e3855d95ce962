#!/usr/bin/env bash
# Builds the Debian package and runs it on a clean machine of the release it is built on (Debian 12 or 13):
# installed with apt into a fresh debootstrap root (made once and kept in ~/.cache/zindrel/<release>-root),
# started there, then purged. Needs root. A package built on one release is tested on that release only: its
# dependencies name that release's libraries.
set -euo pipefail
cd "$(dirname "$0")/.."
# shellcheck source=/dev/null
release=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
case "$release" in
  bookworm | trixie) ;;
  *) echo "package-test.sh: builds on Debian 12 (bookworm) or 13 (trixie); this is ${release:-unknown}" >&2; exit 1 ;;
esac
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

root=$(scripts/debian-root.sh "$release")
$SUDO env ZINDREL_ARTEFACTS="$PWD/build/release/test-artefacts" /usr/bin/python3 tests/package/clean_root.py \
  "$root" "${debs[0]}"
