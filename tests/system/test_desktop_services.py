# SPDX-License-Identifier: GPL-3.0-or-later
"""Each desktop's own services, mocked on the fixture's private buses: the screen savers of GNOME, MATE, Cinnamon
and Xfce, Mutter's and PowerDevil's monitor off, the session managers of Cinnamon, MATE and LXQt with logind
behind them, and udisks2 with a mounted disc. Services are added from the least preferred to the most preferred,
and after each the one operation must reach the newest service exactly once, with the right arguments, and no
service added before it again. Where they are installed, a real headless Mutter and sway are asked too."""

import glob
import os
import pwd
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from fixture import Checks, Fixture, skip, wait_until  # noqa: E402

check = Checks()


# (service, path, interface), least preferred first.
SCREEN_SAVERS = [
    ("org.xfce.ScreenSaver", "/org/xfce/ScreenSaver", "org.xfce.ScreenSaver"),
    ("org.cinnamon.ScreenSaver", "/org/cinnamon/ScreenSaver", "org.cinnamon.ScreenSaver"),
    ("org.mate.ScreenSaver", "/org/mate/ScreenSaver", "org.mate.ScreenSaver"),
    ("org.gnome.ScreenSaver", "/org/gnome/ScreenSaver", "org.gnome.ScreenSaver"),
]

# (service, path, interface, method, in signature, the arguments expected), least preferred first; GNOME, Plasma
# and Xfce are covered by test_power.py.
SESSION_MANAGERS = [
    ("org.lxqt.session", "/LXQtSession", "org.lxqt.session", "logout", "", []),
    ("org.mate.SessionManager", "/org/mate/SessionManager", "org.mate.SessionManager", "Logout", "u", [1]),
    ("org.cinnamon.SessionManager", "/org/cinnamon/SessionManager", "org.cinnamon.SessionManager", "Logout", "u", [1]),
]

MUTTER = ("org.gnome.Mutter.DisplayConfig", "/org/gnome/Mutter/DisplayConfig", "org.gnome.Mutter.DisplayConfig")
POWER_SAVE_SET = "Set /org/gnome/Mutter/DisplayConfig org.gnome.Mutter.DisplayConfig.PowerSaveMode"

UDISKS = "/org/freedesktop/UDisks2"
DRIVE = "org.freedesktop.UDisks2.Drive"
BLOCK = "org.freedesktop.UDisks2.Block"
FILESYSTEM = "org.freedesktop.UDisks2.Filesystem"


def gtest(fx, name, env):
    check(fx.run_system_tests(f"RealDesktop.{name}", extra_env=env) == 0, f"gtest RealDesktop.{name}")


def each_once(mocks, method, expected, what):
    """The newest mock got method once with the expected arguments; the older ones still have only their own."""
    for mock in mocks:
        calls = mock.method_calls(method)
        check(calls == [expected], f"{what}: {mock.name} {method} calls {calls}, expected one with {expected}")


def screen_savers(fx, env):
    added = []
    for service, path, interface in SCREEN_SAVERS:
        mock = fx.add_mock(service, path, interface)
        mock.add_method("SetActive", "b", "b", "ret = True")
        added.append(mock)
        gtest(fx, "ScreenSaver", env)
        each_once(added, "SetActive", [True], f"screen saver with {service} the newest")


def monitor(fx, env):
    import dbus

    kde = fx.add_mock("org.kde.kglobalaccel", "/component/org_kde_powerdevil", "org.kde.kglobalaccel.Component")
    kde.add_method("invokeShortcut", "s", "", "")
    gtest(fx, "MonitorOff", env)
    check(kde.method_calls("invokeShortcut") == [["Turn Off Screen"]], f"PowerDevil: {kde.calls()}")

    mutter = fx.add_mock(*MUTTER)
    mutter.add_property("PowerSaveMode", dbus.Int32(0))
    gtest(fx, "MonitorOff", env)
    sets = mutter.logged(POWER_SAVE_SET)
    check(sets == [f"{POWER_SAVE_SET} 3"], f"Mutter: one PowerSaveMode = 3 (off), got {sets}")
    mode = fx.dbus_object("session", mutter.name, mutter.path).Get(
        MUTTER[2], "PowerSaveMode", dbus_interface="org.freedesktop.DBus.Properties"
    )
    check(isinstance(mode, dbus.Int32) and mode == 3, f"Mutter's PowerSaveMode holds {mode!r}, not int32 3")
    check(len(kde.method_calls("invokeShortcut")) == 1, "with Mutter there PowerDevil is not asked again")

    # A Mutter that cannot switch this monitor off (-1) is not asked to; the next desktop service is.
    fx.dbus_object("session", mutter.name, mutter.path).Set(
        MUTTER[2], "PowerSaveMode", dbus.Int32(-1), dbus_interface="org.freedesktop.DBus.Properties"
    )
    gtest(fx, "MonitorOff", env)
    sets = mutter.logged(POWER_SAVE_SET)
    check(len(sets) == 2, f"Mutter at -1 is left alone; the log holds only the test's own Set besides ours: {sets}")
    check(len(kde.method_calls("invokeShortcut")) == 2, "Mutter at -1: PowerDevil switches the monitor off")


def session_managers(fx, env):
    import dbus

    # No session manager and no XDG_SESSION_ID: logind finds the session by the program's PID and ends it.
    fx.logind.add_method("GetSessionByPID", "u", "o", 'ret = dbus.ObjectPath("/org/freedesktop/login1/session/c9")')
    fx.dbus_object("system", fx.logind.name, fx.logind.path).AddSession(
        "c9", "seat0", dbus.UInt32(os.getuid()), "tester", True, dbus_interface="org.freedesktop.DBus.Mock"
    )
    gtest(fx, "LogOff", {**env, "ZINDREL_EXPECT_LOGIND": "1"})
    pids = fx.logind.method_calls("GetSessionByPID")
    check(len(pids) == 1 and pids[0][0] > 1, f"logind GetSessionByPID: one call with the program's PID, got {pids}")
    calls = fx.logind.method_calls("TerminateSession")
    check(calls == [["c9"]], f"logind TerminateSession of the session found, got {calls}")
    fx.logind.clear_calls()

    added = []
    for service, path, interface, method, signature, expected in SESSION_MANAGERS:
        mock = fx.add_mock(service, path, interface)
        mock.add_method(method, signature, "", "")
        added.append((mock, method, expected))
        gtest(fx, "LogOff", env)
        for older, older_method, older_expected in added:
            calls = older.method_calls(older_method)
            check(calls == [older_expected], f"{service} the newest: {older.name} got {calls}")
        check(fx.logind.calls() == [], f"an answering session manager leaves logind alone: {fx.logind.calls()}")


def cd_tray(fx, env):
    import dbus

    udisks = fx.add_mock("org.freedesktop.UDisks2", UDISKS, "org.freedesktop.UDisks2.Manager", bus="system",
                         object_manager=True)
    drive_path = f"{UDISKS}/drives/Optical_Drive"
    disc_path = f"{UDISKS}/block_devices/sr0"
    # Like udisks2, the eject fails while the disc is mounted.
    eject = (
        f"if objects['{disc_path}'].Get('{FILESYSTEM}', 'MountPoints'): raise dbus.exceptions.DBusException("
        "'the disc is mounted', name='org.freedesktop.UDisks2.Error.DeviceBusy')"
    )
    optical = dbus.Array(["optical_cd", "optical_dvd"], signature="s")
    drive = udisks.add_object(drive_path, DRIVE, {"Ejectable": True, "MediaCompatibility": optical},
                              [("Eject", "a{sv}", "", eject)])
    mounted = dbus.Array([dbus.ByteArray(b"/media/tester/DISC\0")], signature="ay")
    disc = udisks.add_object(disc_path, BLOCK, {"Drive": dbus.ObjectPath(drive_path)})
    disc.add_properties(FILESYSTEM, {"MountPoints": mounted})
    unmount = f"self.Set('{FILESYSTEM}', 'MountPoints', dbus.Array([], signature='ay'))"
    disc.add_method("Unmount", "a{sv}", "", unmount, interface=FILESYSTEM)
    # A mounted hard disk of another drive stays mounted.
    disk_path = f"{UDISKS}/drives/Hard_Disk"
    udisks.add_object(disk_path, DRIVE, {"Ejectable": False, "MediaCompatibility": dbus.Array([], signature="s")})
    home = udisks.add_object(f"{UDISKS}/block_devices/sda1", BLOCK, {"Drive": dbus.ObjectPath(disk_path)})
    home.add_properties(FILESYSTEM, {"MountPoints": mounted})
    home.add_method("Unmount", "a{sv}", "", "", interface=FILESYSTEM)

    gtest(fx, "CdTrayOpensThroughUdisksAndClosesThroughTheIoctl", env)
    unmounts = disc.method_calls("Unmount")
    check(unmounts == [[{}]], f"udisks2 Unmount of the disc: one call with no options, got {unmounts}")
    check(drive.method_calls("Eject") == [[{}]], f"udisks2 Eject: one call with no options, got {drive.calls()}")
    check(home.method_calls("Unmount") == [], f"the hard disk stays mounted, got {home.calls()}")

    # udisks2 and a media player stopped (a slow drive, a password, a hung disk), and a playing player that answers
    # the choice but hangs on its command: the warning waits for none of them.
    player = fx.add_mpris_player("hung")
    slow = fx.add_mpris_player("slow", status="Playing")
    slow.add_method("Next", code="__import__('time').sleep(8)")
    pids = [int(fx.dbus_object(bus, "org.freedesktop.DBus", "/org/freedesktop/DBus").GetConnectionUnixProcessID(
        name, dbus_interface="org.freedesktop.DBus")) for bus, name in (("system", udisks.name), ("session", player.name))]
    for pid in pids:
        os.kill(pid, signal.SIGSTOP)
    try:
        check(fx.run_system_tests("RealDesktopFiring.*", extra_env=env) == 0, "gtest RealDesktopFiring")
    finally:
        for pid in pids:
            os.kill(pid, signal.SIGCONT)
    check(slow.method_calls("Next") == [[]], f"the playing player got its command: {slow.calls()}")


def real_mutter():
    """The monitor command against a real headless Mutter: its PowerSaveMode goes from 0 (on) to 3 (off)."""
    import dbus

    with Fixture("desktop-services-mutter", xvfb=False) as fx:
        wayland = ["--wayland", "--no-x11", "--wayland-display", "zindrel-mutter"]
        mutter = fx.spawn(["mutter", "--headless", *wayland, "--virtual-monitor", "640x480"], "mutter")
        wait_until(lambda: fx.name_owned("session", MUTTER[0]) or mutter.poll() is not None, 20, what="Mutter")
        check(mutter.poll() is None, "the headless Mutter keeps running")
        config = fx.dbus_object("session", MUTTER[0], MUTTER[1])

        def mode():
            return config.Get(MUTTER[2], "PowerSaveMode", dbus_interface="org.freedesktop.DBus.Properties")

        check(mode() == 0, f"the virtual monitor of a fresh Mutter is on, PowerSaveMode {mode()}")
        gtest(fx, "MonitorOff", {"QT_QPA_PLATFORM": "offscreen"})
        check(isinstance(mode(), dbus.Int32) and mode() == 3, f"Mutter's PowerSaveMode after monitor off: {mode()!r}")


def _swayidle_pids():
    """The swayidle processes the monitor command left, by their command line."""
    pids = []
    for cmdline in glob.glob("/proc/[0-9]*/cmdline"):
        try:
            with open(cmdline, "rb") as f:
                argv = f.read().split(b"\0")
        except OSError:
            continue
        if os.path.basename(argv[0]) == b"swayidle" and b"resume" in argv:
            pids.append(int(cmdline.split("/")[2]))
    return pids


def real_sway():
    """The monitor command against a real headless sway: sway takes the command, swayidle waits, and a key typed
    through the virtual keyboard makes swayidle switch the output on again and end. sway's headless backend
    cannot really switch its output off (it fails to commit the output), so its log of commands is read."""
    # sway refuses to run as root; then it runs as nobody in a runtime folder of its own.
    user = pwd.getpwnam("nobody") if os.getuid() == 0 else pwd.getpwuid(os.getuid())
    runtime = tempfile.mkdtemp(prefix="zindrel-sway-")
    os.chown(runtime, user.pw_uid, user.pw_gid)
    config = os.path.join(runtime, "config")
    with open(config, "w", encoding="utf-8") as f:
        f.write("xwayland disable\n")
    try:
        with Fixture("desktop-services-sway", xvfb=False) as fx:
            env = dict(fx.env, XDG_RUNTIME_DIR=runtime, HOME=runtime, WLR_BACKENDS="headless",
                       WLR_RENDERER="pixman", WLR_LIBINPUT_NO_DEVICES="1")
            drop = ["setpriv", f"--reuid={user.pw_uid}", f"--regid={user.pw_gid}", "--clear-groups"]
            sway = fx.spawn([*drop, "sway", "-d", "-c", config], "sway", env=env)
            sockets = lambda: glob.glob(os.path.join(runtime, "sway-ipc.*.sock"))  # noqa: E731
            wait_until(lambda: sockets() or sway.poll() is not None, 20, what="sway's IPC socket")
            check(sway.poll() is None, "the headless sway keeps running")
            if sway.poll() is not None:
                return
            display = [os.path.basename(p) for p in glob.glob(os.path.join(runtime, "wayland-*")) if "." not in p]
            session = {"QT_QPA_PLATFORM": "offscreen", "XDG_RUNTIME_DIR": runtime, "XDG_SESSION_TYPE": "wayland",
                       "WAYLAND_DISPLAY": display[0], "SWAYSOCK": sockets()[0]}
            tools = dict(env, **session)

            gtest(fx, "MonitorOff", session)
            # The program has forked swayidle off when the command returns; the exec may still be under way.
            try:
                wait_until(lambda: _swayidle_pids(), 10, what="swayidle")
            except TimeoutError:
                pass
            idle = _swayidle_pids()
            check(len(idle) == 1, f"one swayidle waits for the user's next input: {idle}")
            # The resume is armed after a second of quiet.
            time.sleep(1.5)
            subprocess.run(["wtype", "-k", "space"], env=dict(env, **session), timeout=10, check=False)
            try:
                wait_until(lambda: not _swayidle_pids(), 10, what="swayidle ending after the output is on again")
            except TimeoutError as e:
                check(False, str(e))
            with open(os.path.join(fx.root, "sway.log"), encoding="utf-8", errors="replace") as f:
                log = f.read()
            # sway 1.8 and later take "power", 1.7 (Debian 12) rejects it and takes "dpms".
            commands = re.findall(r"Handling command '([^']*)'", log)
            check(
                commands in (["output * power off", "output * power on"],
                             ["output * power off", "output * dpms off", "output * dpms on"]),
                f"sway switched the output off, then on at the key: {commands}",
            )
            for pid in _swayidle_pids():
                os.kill(pid, signal.SIGTERM)
    finally:
        shutil.rmtree(runtime, ignore_errors=True)


def main():
    # Every tool the script needs, before any check: a missing one later would hide what was found.
    missing = [tool for tool in ("mutter", "sway", "swaymsg", "swayidle", "wtype", "setpriv") if not shutil.which(tool)]
    if missing:
        skip(f"{', '.join(missing)} not installed")
    with Fixture("desktop-services", xvfb=False, logind=True) as fx:
        env = {"QT_QPA_PLATFORM": "offscreen"}
        screen_savers(fx, env)
        monitor(fx, env)
        session_managers(fx, env)
        cd_tray(fx, env)
    real_mutter()
    real_sway()
    return check.code()


if __name__ == "__main__":
    sys.exit(main())
