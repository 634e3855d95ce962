#!/usr/bin/env bash
# Runs the README's two commands as a newcomer on the given Debian release would: in a fresh copy of a clean
# debootstrap root, from a clean clone of this checkout's commit, as root. First scripts/run.sh until the program's
# window maps on a private Xvfb (then the program is ended), then scripts/package-test.sh (the package built there,
# in a clean root of the same release) and scripts/test.sh. Needs root.
# Usage: scripts/release-test.sh RELEASE [run]    RELEASE: bookworm, trixie; "run" stops after scripts/run.sh.
# ZINDREL_SKIP_WINDOWS=1 is handed to scripts/test.sh; ZINDREL_KEEP_ROOT=1 keeps the root afterwards.
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$PWD
release=${1:?usage: scripts/release-test.sh RELEASE [run]}
stages=${2:-all}
[ "$(id -u)" -eq 0 ] || { echo "release-test.sh: run it as root (it makes and enters a chroot)" >&2; exit 1; }
if ! command -v Xvfb >/dev/null || ! command -v xdotool >/dev/null; then
  scripts/deps.sh test
fi

pristine=$(scripts/debian-root.sh "$release")
artefacts=$repo/build/release-test/$release
mkdir -p "$artefacts"
holder=$(mktemp -d "$(dirname "$pristine")/release-test-$release.XXXXXX")
root=$holder/root
mounts=()
xvfb=""

# The processes running inside the root, all of them started by this script.
root_pids() {
  find /proc -mindepth 2 -maxdepth 2 -name root -lname "$root" 2>/dev/null | cut -d/ -f3
}

# Ends what this script started inside the root (found by the root they run in), then unmounts, then removes
# the copy unless it is to be kept or something is still mounted there.
cleanup() {
  set +e
  [ -z "$xvfb" ] || kill "$xvfb" 2>/dev/null
  local left pids
  pids=$(root_pids)
  if [ -n "$pids" ]; then
    # shellcheck disable=SC2086
    kill $pids 2>/dev/null
    sleep 1
  fi
  for ((i = ${#mounts[@]} - 1; i >= 0; i--)); do
    umount "${mounts[i]}" 2>/dev/null || umount --lazy "${mounts[i]}"
  done
  left=$(awk -v h="$holder/" 'index($5, h) == 1 { print $5 }' /proc/self/mountinfo)
  if [ -n "$left" ]; then
    echo "release-test.sh: still mounted, $holder kept: $left" >&2
  elif [ "${ZINDREL_KEEP_ROOT:-}" = 1 ]; then
    echo "release-test.sh: the root is kept in $root" >&2
  else
    rm -rf "$holder"
  fi
}
trap cleanup EXIT

mount_in() {
  local target=$root$1
  shift
  [ -e "$target" ] || mkdir -p "$target"
  mount "$@" "$target"
  mounts+=("$target")
}

in_root() {
  chroot "$root" /usr/bin/env -i HOME=/root PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
    LANG=C.UTF-8 TERM=dumb "$@"
}

echo "release-test.sh: a fresh copy of the clean Debian $release root in $root"
cp -a --reflink=auto "$pristine" "$root"
cp /etc/resolv.conf "$root/etc/resolv.conf"
# Packages installed in the root start no services there: a daemon left running would outlive the run.
printf '#!/bin/sh\nexit 101\n' >"$root/usr/sbin/policy-rc.d"
chmod +x "$root/usr/sbin/policy-rc.d"
# The root a mount point of its own: the wake helper's test makes / private in a mount namespace, which a
# chroot whose / is a plain folder refuses ("cannot change root filesystem propagation").
mount --bind "$root" "$root"
mounts+=("$root")
mount_in /proc -t proc proc
mount_in /sys -t sysfs -o ro sysfs
mount_in /dev/pts -t devpts -o newinstance,ptmxmode=0666 devpts
mount_in /dev/shm -t tmpfs -o mode=1777 tmpfs

commit=$(git rev-parse HEAD)
git diff --quiet HEAD || echo "release-test.sh: uncommitted changes are not in the clone; it has $commit"
git clone --quiet --no-local "$repo" "$root/root/zindrel"
git -C "$root/root/zindrel" checkout --quiet --detach "$commit"

# What scripts/run.sh is about to install: the packages and their download size.
in_root apt-get update -qq
mapfile -t run_list < <(in_root /root/zindrel/scripts/deps.sh list run)
in_root apt-get install -qq --print-uris --no-install-recommends "${run_list[@]}" >"$artefacts/run-uris.txt"
read -r run_count run_bytes < <(awk '/^'"'"'/ { n++; s += $3 } END { print n + 0, s + 0 }' "$artefacts/run-uris.txt")
run_size="$run_count packages, $((run_bytes / 1000000)) MB to download"
echo "release-test.sh: scripts/run.sh will install $run_size"

# scripts/run.sh on an X server of this script's own, its socket the only thing of the machine in the root;
# the program gets no bus address and the root has no bus socket, so it reaches no bus of this machine.
Xvfb -displayfd 3 -nolisten tcp -screen 0 1280x1024x24 3>"$artefacts/display" >"$artefacts/xvfb.log" 2>&1 &
xvfb=$!
for _ in $(seq 60); do
  display=$(cat "$artefacts/display")
  [ -n "$display" ] && break
  sleep 0.5
done
[ -n "$display" ] || { echo "release-test.sh: Xvfb did not start: $(tail -n3 "$artefacts/xvfb.log")" >&2; exit 1; }
socket=/tmp/.X11-unix/X$display
mkdir -p "$root/tmp/.X11-unix"
touch "$root$socket"
mount_in "$socket" --bind "$socket"

started=$SECONDS
mkdir -p "$root/run/user"
install -d -m 700 "$root/run/user/0"
in_root DISPLAY=":$display" XDG_RUNTIME_DIR=/run/user/0 QT_QPA_PLATFORM=xcb NO_AT_BRIDGE=1 \
  /bin/bash -c 'cd /root/zindrel && exec scripts/run.sh' >"$artefacts/run.log" 2>&1 &
run=$!
window=""
# The X server is this script's own, so the only client that can map a window there is the program.
while kill -0 "$run" 2>/dev/null; do
  window=$(DISPLAY=":$display" xdotool search --onlyvisible --class zindrel 2>/dev/null | head -n1) || true
  [ -n "$window" ] && break
  sleep 1
done
if [ -z "$window" ]; then
  tail -n 40 "$artefacts/run.log"
  echo "release-test.sh: scripts/run.sh ended without a window" >&2
  exit 1
fi
run_time=$((SECONDS - started))
sleep 2
DISPLAY=":$display" import -window root "$artefacts/run-window.png" 2>/dev/null || true
name=$(DISPLAY=":$display" xdotool getwindowname "$window")
echo "release-test.sh: scripts/run.sh showed \"$name\" after $run_time s"
# shellcheck disable=SC2046
kill $(root_pids)
wait "$run" 2>/dev/null || true
umount "$root$socket"
rm -f "$root$socket"
unset 'mounts[-1]'
kill "$xvfb"
xvfb=""

summary=("Debian $release, commit $commit"
  "scripts/run.sh installs $run_size"
  "first scripts/run.sh to a window (\"$name\"): $run_time s")
status=0
# The package built there, installed, started and purged in a clean root of the same release inside this one.
if [ "$stages" != run ]; then
  started=$SECONDS
  code=0
  in_root /bin/bash -c 'cd /root/zindrel && exec scripts/package-test.sh' >"$artefacts/package.log" 2>&1 || code=$?
  [ "$code" -eq 0 ] || status=1
  summary+=("scripts/package-test.sh (exit $code, $((SECONDS - started)) s): $(tail -n1 "$artefacts/package.log")")
  started=$SECONDS
  code=0
  in_root ${ZINDREL_SKIP_WINDOWS:+ZINDREL_SKIP_WINDOWS=$ZINDREL_SKIP_WINDOWS} \
    /bin/bash -c 'cd /root/zindrel && exec scripts/test.sh' 2>&1 | tee "$artefacts/test.log" || code=$?
  [ "$code" -eq 0 ] || status=1
  summary+=("scripts/test.sh (exit $code, $(((SECONDS - started) / 60)) minutes): $(tail -n1 "$artefacts/test.log")")
fi
printf '%s\n' "${summary[@]}" | tee "$artefacts/summary.txt"
[ "$status" -eq 0 ]
