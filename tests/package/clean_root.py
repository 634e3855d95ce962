# SPDX-License-Identifier: GPL-3.0-or-later
"""The package on a clean Debian of the release it was built on: installed with apt into a copy of a fresh
debootstrap root, the program started there as a new user on the fixture's Xvfb, its window mapped, its settings
written under the user's ~/.config/zindrel/, its desktop shortcut made by the settings dialog starting
/usr/bin/zindrel with the theme's icon, its wake helper given cap_wake_alarm by the postinst, refusing the user until
logind's record (the root runs no logind: the test writes it) shows them at a seat and then holding a wake alarm for
them, and then purged, leaving no file of the package behind. It proves that the package's dependencies are complete.

Usage (as root): clean_root.py <pristine root> <zindrel_*.deb>

The pristine root is copied for every run, so each run starts from a machine that has never seen the
package or its dependencies. The copy holds no D-Bus daemon and no socket of this machine's buses, and the
program is given no bus address, so it cannot reach this machine's logind or session manager.
"""

import os
import shutil
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "system"))
from fixture import Fixture, MainWindow, Program, log, wait_until  # noqa: E402

USER = "tester"
PATH = "/usr/sbin:/usr/bin:/sbin:/bin"
SHORTCUT_BUTTON = (60, 94)  # "Создать ярлык" in the settings dialog's client area, on its page "Разное"
HELPER = "/usr/lib/zindrel/zindrel-wake"


class Root:
    """A throw-away copy of the pristine root with /proc, /dev and the X sockets mounted; unmounted and
    removed on exit (never removed while anything is still mounted inside it)."""

    def __init__(self, pristine):
        self.pristine = pristine
        self.holder = tempfile.mkdtemp(prefix="zindrel-clean-root-", dir=os.path.dirname(pristine.rstrip("/")))
        self.path = os.path.join(self.holder, "root")
        self.mounts = []

    def __enter__(self):
        subprocess.run(["cp", "-a", "--reflink=auto", self.pristine, self.path], check=True)
        shutil.copyfile("/etc/resolv.conf", self.at("/etc/resolv.conf"))
        self.mount(["-t", "proc", "proc"], "/proc")
        self.mount(["--bind", "/dev"], "/dev")
        os.makedirs("/tmp/.X11-unix", exist_ok=True)
        self.mount(["--bind", "/tmp/.X11-unix"], "/tmp/.X11-unix")
        return self

    def __exit__(self, *exc):
        for target in reversed(self.mounts):
            if subprocess.run(["umount", target]).returncode != 0:
                subprocess.run(["umount", "--lazy", target])
        with open("/proc/self/mountinfo") as f:
            left = [line.split()[4] for line in f if line.split()[4].startswith(self.holder + "/")]
        if left:
            log(f"clean root: still mounted, {self.holder} kept: {left}")
        else:
            shutil.rmtree(self.holder)
        return False

    def at(self, path):
        return os.path.join(self.path, path.lstrip("/"))

    def mount(self, how, target):
        os.makedirs(self.at(target), exist_ok=True)
        subprocess.run(["mount", *how, self.at(target)], check=True)
        self.mounts.append(self.at(target))

    def run(self, *argv, check=True):
        env = {"PATH": PATH, "LANG": "C.UTF-8", "DEBIAN_FRONTEND": "noninteractive", "HOME": "/root"}
        out = subprocess.run(["chroot", self.path, *argv], env=env, capture_output=True, text=True)
        if check and out.returncode != 0:
            raise RuntimeError(f"{' '.join(argv)} failed ({out.returncode}):\n{out.stdout}\n{out.stderr}")
        return out.stdout


def start_program(fx, root, uid):
    """/usr/bin/zindrel as the new user, on the fixture's X server and with nothing else of this machine."""
    if os.path.exists(root.at("/run/dbus/system_bus_socket")):
        raise RuntimeError("refusing to run: the root has a system bus socket")
    runtime = root.at(f"/run/user/{uid}")
    os.makedirs(runtime, mode=0o700, exist_ok=True)
    os.chown(runtime, uid, uid)
    home = f"/home/{USER}"
    env = [f"HOME={home}", f"USER={USER}", f"LOGNAME={USER}", f"PATH={PATH}", "LANG=C.UTF-8",
           f"DISPLAY={fx.display}", f"XDG_RUNTIME_DIR=/run/user/{uid}", "QT_QPA_PLATFORM=xcb", "NO_AT_BRIDGE=1"]
    argv = ["chroot", f"--userspec={USER}:{USER}", root.path, "/usr/bin/env", "-i", *env, "/usr/bin/zindrel"]
    # chroot and env replace themselves, so the PID is the program's own and the fixture stops it by that PID.
    proc = fx.spawn(argv, "zindrel", env={"PATH": PATH}, cwd="/")
    return Program(proc, root.at("/usr/bin"), root.at(home), root.at(f"{home}/.config"), fx._log("zindrel"))


def run_helper(root, when):
    """The installed wake helper as the user, its input an open pipe: (code, stderr, seconds it ran)."""
    started, (read_end, write_end) = time.monotonic(), os.pipe()
    out = subprocess.run(["chroot", f"--userspec={USER}:{USER}", root.path, HELPER, str(when)], stdin=read_end,
                         capture_output=True, text=True, timeout=90)
    took = time.monotonic() - started
    os.close(read_end)
    os.close(write_end)
    return out.returncode, out.stderr.strip(), took


def seat_user(root, uid):
    """What logind keeps for a user at the machine's seat (root's, read-only to others), and their runtime folder."""
    os.makedirs(root.at("/run/systemd/users"), exist_ok=True)
    with open(root.at(f"/run/systemd/users/{uid}"), "w") as f:
        f.write("STATE=active\nACTIVE_SESSIONS=2\nACTIVE_SEATS=seat0\n")
    os.makedirs(root.at(f"/run/user/{uid}"), mode=0o700, exist_ok=True)
    os.chown(root.at(f"/run/user/{uid}"), uid, uid)


def make_shortcut(fx, window):
    """"Создать ярлык" on the settings dialog's last page ("Разное"), reached through the window's menu."""
    window._menu(window.BARE_FORM, ["Up", "Up", "Up", "Return"])  # "Настройка", above "О программе", "Выход"
    dialog = fx.wait_window("Настройка Zindrel", timeout=20, pid=window.program.pid)
    time.sleep(0.3)
    fx.key(*["ctrl+Tab"] * 5)
    time.sleep(0.3)
    fx.click(dialog, *SHORTCUT_BUTTON)
    return dialog


def check_shortcut(root, failures):
    """The entry starts the installed binary and names the theme's icon; no picture is copied."""
    home = root.at(f"/home/{USER}")
    entry = os.path.join(home, "Desktop/Zindrel.desktop")
    try:
        text = wait_until(lambda: os.path.isfile(entry) and open(entry, encoding="utf-8").read(), 10, what=entry)
    except TimeoutError as e:
        failures.append(f"no desktop shortcut: {e}")
        return
    for line in ('Exec="/usr/bin/zindrel"', "Icon=zindrel", "Path=/usr/bin/"):
        if line not in text.splitlines():
            failures.append(f"the shortcut lacks {line!r}:\n{text}")
    if os.path.exists(os.path.join(home, ".local/share/icons/zindrel.png")):
        failures.append("the installed program copied its picture for the shortcut")
    out = subprocess.run(["desktop-file-validate", entry], capture_output=True, text=True)
    if out.returncode != 0:
        failures.append(f"desktop-file-validate on the shortcut: {out.stdout}{out.stderr}")


def main():
    pristine, deb = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
    failures = []
    with Root(pristine) as root:
        root.run("apt-get", "update", "-qq")
        shutil.copyfile(deb, root.at(f"/tmp/{os.path.basename(deb)}"))
        log(root.run("sh", "-c", f"cd /tmp && apt-get install -y -q ./{os.path.basename(deb)}")[-600:])
        files = [p for p in root.run("dpkg", "-L", "zindrel").splitlines() if p and p != "/."]
        for needed in ("/usr/bin/zindrel", "/usr/share/applications/zindrel.desktop", HELPER):
            if needed not in files:
                failures.append(f"dpkg -L zindrel does not list {needed}")
        root.run("useradd", "--create-home", "--shell", "/bin/sh", USER)
        uid = int(root.run("id", "-u", USER))
        caps = root.run("getcap", HELPER, check=False).strip()
        log(f"clean root: getcap {caps}")
        if not caps.endswith("cap_wake_alarm=ep"):
            failures.append(f"the postinst did not give the wake helper its capability: getcap says {caps!r}")
        # As the user, the helper refuses a time that has passed (code 2) and, while logind shows no session of the
        # user at a seat, any alarm (code 4); at a seat it holds an alarm a minute ahead until it passes (without the
        # capability, or on a kernel without alarm timers: code 3 and the error it met).
        for ahead, wanted in ((-1, 2), (61, 4), (61, 0)):
            if wanted == 0:
                seat_user(root, uid)
            code, err, took = run_helper(root, int(time.time()) + ahead)
            log(f"clean root: zindrel-wake as {USER}, {ahead:+d} s, expecting {wanted}: code {code} after {took:.1f} s,"
                f" {err!r}")
            if code != wanted or (wanted == 0 and took < 59):
                failures.append(f"the user's wake helper, {ahead:+d} s: code {code} after {took:.1f} s, {err!r}")
        # The alarm timer runs and expires like any timer while the machine is awake; only a real-time clock wakes a
        # sleeping one, and the test suspends nothing.
        clocks = sorted(os.listdir("/sys/class/rtc")) if os.path.isdir("/sys/class/rtc") else []
        log(f"clean root: not shown: a suspended machine woken by the alarm (nothing is suspended here; real-time "
            f"clocks: {', '.join(clocks) or 'none'})")

        with Fixture("clean-root", buses=False) as fx:
            program = start_program(fx, root, uid)
            window = MainWindow(fx, program, timeout=60)
            if not window.mapped():
                failures.append("the main window is not mapped")
            fx.screenshot("clean-root-window")
            dialog = make_shortcut(fx, window)
            check_shortcut(root, failures)
            fx.screenshot("clean-root-shortcut")
            fx.key("Escape")
            wait_until(lambda: not fx.find_windows("^Настройка Zindrel$"), 10, what="the settings dialog to close")
            window.exit_from_menu()
            try:
                code = program.wait(30)
                if code != 0:
                    failures.append(f"the program exited with {code}: {program.output()[-400:]}")
            except TimeoutError as e:
                failures.append(f"'Выход' did not end the program: {e}")
            settings = root.at(f"/home/{USER}/.config/zindrel/zindrel_{USER}.ini")
            if not os.path.isfile(settings):
                failures.append(f"no settings file {settings}; found {program.settings_files()}")
            else:
                info = os.stat(settings)
                if info.st_uid != uid or info.st_mode & 0o777 != 0o600:
                    failures.append(f"the settings file has owner {info.st_uid} and mode {oct(info.st_mode)}")
                if "[window_main]" not in open(settings, encoding="utf-8", errors="replace").read():
                    failures.append("the settings file holds no window placement")
            if any(n.endswith(".ini") for n in os.listdir(root.at("/usr/bin"))):
                failures.append("the program wrote its settings into /usr/bin")

        root.run("apt-get", "purge", "-y", "-q", "zindrel")
        status = root.run("dpkg-query", "--show", "--showformat=${db:Status-Status}", "zindrel", check=False)
        if status not in ("", "not-installed"):
            failures.append(f"after the purge dpkg says {status!r}")
        for path in files:
            # A folder another package also owns (/usr/bin, the icon theme's folders) stays, as it should.
            if os.path.lexists(root.at(path)) and not (
                os.path.isdir(root.at(path)) and root.run("dpkg-query", "--search", path, check=False)
            ):
                failures.append(f"{path} is left after the purge")
        log(f"clean root: {len(files)} paths of the package checked after the purge")

    for failure in failures:
        print(f"FAIL: {failure}")
    sys.exit(1 if failures else 0)


if __name__ == "__main__":
    main()
