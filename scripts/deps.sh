#!/usr/bin/env bash
# Installs, where missing, the Debian packages one purpose needs, and any named after it:
#   scripts/deps.sh run  [PACKAGE...]   building and running the program (scripts/run.sh)
#   scripts/deps.sh test [PACKAGE...]   that and everything scripts/test.sh runs
#   scripts/deps.sh list run|test       prints the packages, one a line, and installs nothing
# It knows Debian 12 (bookworm) and Debian 13 (trixie) and reads which one this is from /etc/os-release.
set -euo pipefail
usage="usage: scripts/deps.sh run|test [PACKAGE...] | scripts/deps.sh list run|test"
action=install
if [ "${1:-}" = list ]; then
  action=list
  shift
fi
purpose=${1:-}
case "$purpose" in
  run | test) shift ;;
  *) echo "$usage" >&2; exit 2 ;;
esac

# The compiler, Qt, the libraries the program links, the icon renderer the build uses, the windows' font and Qt's
# own texts in Russian.
run=(
  build-essential cmake ninja-build pkg-config ccache
  qt6-base-dev qt6-base-dev-tools libgl-dev qt6-translations-l10n
  libx11-dev libxtst-dev libxext-dev libxss-dev libxcb-xinput-dev libxcb-xfixes0-dev
  libsndfile1-dev libpulse-dev libjpeg62-turbo-dev libfontconfig-dev
  librsvg2-bin fonts-liberation
)
# Debian's default clang (libFuzzer and the sanitizer runtimes); the X server, buses, mocked services and sound
# server the system tests start; the window managers, compositors and notification servers of the desktop
# journeys; the package checks.
test=(
  libgtest-dev libgmock-dev clang libclang-rt-dev
  xvfb xauth x11-utils x11-apps xdotool trayer openbox imagemagick
  dbus dbus-x11 python3 python3-dbusmock python3-gi
  pulseaudio pulseaudio-utils sox faketime desktop-file-utils sound-theme-freedesktop
  appstream lintian debootstrap
  mutter sway swayidle wtype
  xfwm4 kwin-x11 kwin-wayland xwayland gnome-shell gjs xfce4-notifyd qt6-wayland at-spi2-core gir1.2-atspi-2.0
)

os_release=/etc/os-release
[ -f "$os_release" ] || os_release=/usr/lib/os-release
id="" version_id="" pretty_name="this system"
if [ -f "$os_release" ]; then
  # shellcheck source=/dev/null
  id=$(. "$os_release" && echo "${ID:-}")
  # shellcheck source=/dev/null
  version_id=$(. "$os_release" && echo "${VERSION_ID:-}")
  # shellcheck source=/dev/null
  pretty_name=$(. "$os_release" && echo "${PRETTY_NAME:-$id $version_id}")
fi
# kwin 6 has no window decorations of its own without this plugin (every Plasma has it); there Qt 6.8 draws its own
# and leaves a fixed-size window smaller than its size.
[ "$id:$version_id" = debian:13 ] && test+=(kwin-style-breeze)
wanted=("${run[@]}")
[ "$purpose" = test ] && wanted+=("${test[@]}")
wanted+=("$@")

if [ "$action" = list ]; then
  printf '%s\n' "${wanted[@]}"
  exit 0
fi

case "$id:$version_id" in
  debian:12 | debian:13) ;;
  *)
    {
      echo "deps.sh knows Debian 12 (bookworm) and Debian 13 (trixie); this is $pretty_name, so it installs nothing."
      echo "Install what these Debian packages hold under your system's names, then run the command again with"
      echo "ZINDREL_NO_DEPS=1:"
      printf '%s\n' "${wanted[@]}" | fmt -w 110 | sed 's/^/  /'
    } >&2
    [ "${ZINDREL_NO_DEPS:-}" = 1 ] && exit 0
    exit 1
    ;;
esac

missing=()
for p in "${wanted[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO=sudo
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
