# SPDX-License-Identifier: GPL-3.0-or-later
"""The real binary holds off idle suspend while a run counts: through a mocked Inhibit portal, then with only a
mocked GNOME session manager, then with only dbusmock's logind. Each records the hold at arming and its release at
pause, cancel, firing and at the end of a killed program; nothing is held while stopped. Without the wake helper
beside it, arming the alarm clock leaves one stderr line saying the alarm will not wake a sleeping machine."""

import os
import signal
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from fixture import Checks, Fixture, MainWindow, Mock, wait_until  # noqa: E402

check = Checks()
SPEED = 10  # a 3-minute countdown fires after 18 s: time enough to pause, resume and cancel it first
PAUSE = (386 + 6 + 41, 60 + 16 + 11)  # "Пауза" / "Далее"
CANCEL = (386 + 6 + 41, 60 + 42 + 12)  # "Отменить"
HOUR_DOWN = (28 + 8 + 46 - 6, 60 + 20 + 16)  # the alarm hour's down arrow
SETTINGS = "[main]\ntray_hide=1\n"  # the window stays up when armed, so its buttons can be clicked
PORTAL, REQUEST = "org.freedesktop.portal.Desktop", "org.freedesktop.portal.Request"
REQUEST_PATH = "/org/freedesktop/portal/desktop/request/zindrel/r"


def mocks(fx, portal):
    """The GNOME session manager and, when asked, a portal whose every request is an object with Close."""
    gnome = fx.add_mock("org.gnome.SessionManager", "/org/gnome/SessionManager", "org.gnome.SessionManager")
    count = "n = len([c for c in self.call_log if c[1] == 'Inhibit']); "
    gnome.add_method("Inhibit", "susu", "u", count + "ret = n")
    gnome.add_method("Uninhibit", "u", "", "")
    if not portal:
        return gnome, None
    portal = fx.add_mock(PORTAL, "/org/freedesktop/portal/desktop", "org.freedesktop.portal.Inhibit")
    code = f"self.AddObject('{REQUEST_PATH}%d' % n, '{REQUEST}', {{}}, [('Close', '', '', '')]); "
    portal.add_method("Inhibit", "sua{sv}", "o", count + code + f"ret = dbus.ObjectPath('{REQUEST_PATH}%d' % n)")
    return gnome, portal


def portal_holds(fx, portal, first=0):
    """The reasons of the portal requests after the first-th that are not closed; each asked with flag 4."""
    calls = portal.method_calls("Inhibit")
    check(all(flags == 4 for _window, flags, _options in calls), f"the portal's flags: {calls}")
    closed = lambda n: Mock(fx, "session", PORTAL, f"{REQUEST_PATH}{n}", REQUEST).method_calls("Close")  # noqa: E731
    return [options["reason"] for n, (_w, _f, options) in enumerate(calls, 1) if n > first and not closed(n)]


def gnome_holds(gnome):
    released = [args[0] for args in gnome.method_calls("Uninhibit")]
    calls = gnome.method_calls("Inhibit")
    check(all(flags == 4 for *_rest, flags in calls), f"the session manager's flags: {calls}")
    return [reason for n, (_app, _xid, reason, _flags) in enumerate(calls, 1) if n not in released]


def logind_holds(fx):
    """The reasons of Zindrel's logind locks; each is an idle lock, never a sleep or shutdown one."""
    locks = fx.logind._object().ListInhibitors(dbus_interface="org.freedesktop.login1.Manager")
    ours = [(str(what), str(mode), str(why)) for what, who, why, mode, _uid, _pid in locks if who == "Zindrel"]
    check(all(what == "idle" for what, _mode, _why in ours), f"logind locks: {ours}")
    return [why for _what, _mode, why in ours]


def expect(holds, count, what, prefix="Zindrel: заведён таймер, сработает в "):
    try:
        wait_until(lambda: len(holds()) == count, 8, what=what)
    except TimeoutError:
        pass
    now = holds()
    check(len(now) == count and all(r.startswith(prefix) for r in now), f"{what}: {now}")


def journey(fx, holds, name):
    """Arms, pauses, resumes, cancels, fires and kills one program; the killed one's bus connection must go."""
    program = fx.run_program(folder=fx.program_folder(name, settings=SETTINGS), speed=SPEED, name=name)
    window = MainWindow(fx, program, timeout=30)
    time.sleep(1)
    check(holds() == [], f"{name}: nothing is held while stopped: {holds()}")
    steps = [(lambda: window.quick_menu("3 минуты"), 1, "armed"), (lambda: fx.click(window.id, *PAUSE), 0, "paused"),
             (lambda: fx.click(window.id, *PAUSE), 1, "resumed"),
             (lambda: fx.click(window.id, *CANCEL), 0, "cancelled"),
             (lambda: window.quick_menu("3 минуты"), 1, "armed again"),
             (lambda: wait_until(lambda: window.title() == "Zindrel", 40, what="the firing"), 0, "fired"),
             (lambda: window.quick_menu("3 минуты"), 1, "armed to be killed")]
    for step, count, what in steps:
        step()
        expect(holds, count, f"{name}, {what}")
    bus = fx.dbus_object("session", "org.freedesktop.DBus", "/org/freedesktop/DBus")
    unix_pid = lambda n: int(bus.GetConnectionUnixProcessID(n, dbus_interface="org.freedesktop.DBus"))  # noqa: E731
    names = bus.ListNames(dbus_interface="org.freedesktop.DBus")
    names = [n for n in names if n[0] == ":" and unix_pid(n) == program.pid]
    check(names != [], f"{name}: the program's session-bus connection was found")
    os.kill(program.pid, signal.SIGKILL)
    program.wait(10)
    # The portal and the session manager drop a caller's holds when its connection leaves the bus.
    wait_until(lambda: not any(fx.name_owned("session", n) for n in names), 5, what=f"{name}: the connection gone")


def main():
    with Fixture("sleepguard-portal", logind=True) as fx:
        gnome, portal = mocks(fx, portal=True)
        journey(fx, lambda: portal_holds(fx, portal), "portal")
        check(gnome.method_calls("Inhibit") == [] and logind_holds(fx) == [], "only the portal was asked")
        program = fx.run_program(folder=fx.program_folder("alarm", settings=SETTINGS), name="alarm")
        window = MainWindow(fx, program, timeout=30)
        time.sleep(1)
        first = len(portal.method_calls("Inhibit"))  # the killed program's request stays open in this mock
        # A fresh program is in alarm-clock mode at the current minute, which would fire at once: an hour earlier.
        fx.click(window.id, *HOUR_DOWN)
        for attempt in (1, 2):
            window.arm()
            expect(lambda: portal_holds(fx, portal, first), 1, f"alarm {attempt}", "Zindrel: заведён будильник на ")
            fx.click(window.id, *CANCEL)
            expect(lambda: portal_holds(fx, portal, first), 0, f"alarm {attempt} cancelled")
        lines = [line for line in program.output().splitlines() if "the alarm will not wake a sleeping machine" in line]
        check(len(lines) == 1, f"one stderr line that the alarm will not wake the machine: {lines}")

    with Fixture("sleepguard-gnome", logind=True) as fx:
        gnome, _ = mocks(fx, portal=False)
        journey(fx, lambda: gnome_holds(gnome), "gnome")
        check(logind_holds(fx) == [], "the session manager answered, so logind holds nothing")

    with Fixture("sleepguard-logind", logind=True) as fx:
        journey(fx, lambda: logind_holds(fx), "logind")
        wait_until(lambda: logind_holds(fx) == [], 5, what="logind's lock dropped with the killed program")
    return check.code()


if __name__ == "__main__":
    sys.exit(main())
