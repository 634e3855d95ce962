#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the program and the tests need, and any named as arguments;
# only the missing ones.
set -euo pipefail
packages=(
  build-essential cmake ninja-build pkg-config ccache git
  qt6-base-dev qt6-base-dev-tools libgl-dev qt6-translations-l10n
  libx11-dev libxi-dev libxtst-dev libxext-dev libxss-dev libsndfile1-dev libpulse-dev libjpeg62-turbo-dev
  libgtest-dev libgmock-dev clang-14 libclang-rt-14-dev
  xvfb xauth x11-utils x11-apps xdotool trayer openbox imagemagick fonts-liberation
  dbus dbus-x11 python3 python3-dbusmock python3-gi
  pulseaudio pulseaudio-utils sox faketime desktop-file-utils sound-theme-freedesktop
  librsvg2-bin appstream lintian debootstrap
  mutter sway swayidle wtype
  xfwm4 kwin-x11 kwin-wayland xwayland gnome-shell gjs xfce4-notifyd qt6-wayland
  "$@"
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO=sudo
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
