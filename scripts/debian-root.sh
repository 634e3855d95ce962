#!/usr/bin/env bash
# Prints the path of a clean Debian root of the given release (bookworm, trixie), made once with debootstrap
# from the Debian archive /etc/apt names and kept in ~/.cache/zindrel/<release>-root. Callers copy it and never
# change it. Needs root.
set -euo pipefail
release=${1:?usage: scripts/debian-root.sh RELEASE}
root="${XDG_CACHE_HOME:-$HOME/.cache}/zindrel/$release-root"
if [ ! -d "$root" ]; then
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO=sudo
  # The archive this machine itself installs from; every release of Debian lives in the same one.
  mirror=$(apt-get indextargets --format '$(SITE)' 'Identifier: Packages' 'Component: main' 'Target-Of: deb' |
    grep -v -- '-security$' | head -n1)
  [ -n "$mirror" ] || { echo "no Debian main archive in /etc/apt" >&2; exit 1; }
  mkdir -p "$(dirname "$root")"
  $SUDO rm -rf "$root.part"
  echo "making a clean Debian $release root in $root (a few minutes, once)" >&2
  $SUDO debootstrap --variant=minbase "$release" "$root.part" "$mirror" >&2
  $SUDO mv "$root.part" "$root"
fi
echo "$root"
