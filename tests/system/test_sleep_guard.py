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

# x10: a 3-minute countdown fires after 18 s, time enough to pause, resume and cancel it first.
SPEED = 10
PAUSE = (386 + 6 + 41, 60 + 16 + 11)  # "Пауза" / "Далее"
CANCEL = (386 + 6 + 41, 60 + 42 + 12)  # "Отменить"
HOUR_DOWN = (28 + 8 + 46 - 6, 60 + 20 + 16)  # the alarm hour's down arrow
# The window stays up when armed, so its buttons can be clicked.
SETTINGS = "[main]\ntray_hide=1\n"
PORTAL = "org.freedesktop.portal.Desktop"
REQUEST = "org.freedesktop.portal.Request"
NO_HELPER = "the alarm will not wake a sleeping machine"


def add_portal(fx):
    """An Inhibit portal whose every request is an object of its own with Close, as the real portal's are."""
    portal = fx.add_mock(PORTAL, "/org/freedesktop/portal/desktop", "org.freedesktop.portal.Inhibit")
    portal.add_method(
        "Inhibit",
        "sua{sv}",
        "o",
        "n = len([c for c in self.call_log if c[1] == 'Inhibit']); "
        "path = '/org/freedesktop/portal/desktop/request/zindrel/r%d' % n; "
        f"self.AddObject(path, '{REQUEST}', {{}}, [('Close', '', '', '')]); "
        "ret = dbus.ObjectPath(path)",
    )
    return portal


def add_gnome(fx):
    gnome = fx.add_mock("org.gnome.SessionManager", "/org/gnome/SessionManager", "org.gnome.SessionManager")
    gnome.add_method("Inhibit", "susu", "u", "ret = len([c for c in self.call_log if c[1] == 'Inhibit'])")
    gnome.add_method("Uninhibit", "u", "", "")
    return gnome


def portal_holds(fx, portal, first=0):
    """(reason, flags, window) of every portal request from the first-th on that is not closed yet."""
    held = []
    for n, (window, flags, options) in enumerate(portal.method_calls("Inhibit"), start=1):
        if n <= first:
            continue
        request = Mock(fx, "session", PORTAL, f"/org/freedesktop/portal/desktop/request/zindrel/r{n}", REQUEST)
        if not request.method_calls("Close"):
            held.append((options.get("reason"), flags, window))
    return held


def gnome_holds(gnome):
    released = [args[0] for args in gnome.method_calls("Uninhibit")]
    return [
        (reason, flags, app)
        for n, (app, _xid, reason, flags) in enumerate(gnome.method_calls("Inhibit"), start=1)
        if n not in released
    ]


def logind_holds(fx):
    inhibitors = fx.logind._object().ListInhibitors(dbus_interface="org.freedesktop.login1.Manager")
    return [(str(why), str(what), str(mode)) for what, who, why, mode, _uid, _pid in inhibitors if who == "Zindrel"]


def bus_names_of(fx, pid):
    bus = fx.dbus_object("session", "org.freedesktop.DBus", "/org/freedesktop/DBus")
    names = []
    for name in bus.ListNames(dbus_interface="org.freedesktop.DBus"):
        try:
            if int(bus.GetConnectionUnixProcessID(name, dbus_interface="org.freedesktop.DBus")) == pid:
                names.append(str(name))
        except Exception:
            pass
    return names


def wait_count(holds, count, what):
    try:
        wait_until(lambda: len(holds()) == count, 8, what=what)
    except TimeoutError:
        pass
    now = holds()
    check(len(now) == count, f"{what}: {now}")
    return now


def journey(fx, holds, name):
    """Arms, pauses, resumes, cancels, fires and kills one program, reading the holds after each step."""
    program = fx.run_program(folder=fx.program_folder(name, settings=SETTINGS), speed=SPEED, name=name)
    window = MainWindow(fx, program, timeout=30)
    time.sleep(1)
    check(holds() == [], f"{name}: nothing is held while stopped: {holds()}")

    window.quick_menu("3 минуты")
    held = wait_count(holds, 1, f"{name}: one hold once armed")
    if held:
        check(held[0][0].startswith("Zindrel: заведён таймер, сработает в "), f"{name}: the reason {held[0][0]!r}")
    fx.click(window.id, *PAUSE)
    wait_count(holds, 0, f"{name}: released at the pause")
    fx.click(window.id, *PAUSE)
    wait_count(holds, 1, f"{name}: held again at the resume")
    fx.click(window.id, *CANCEL)
    wait_count(holds, 0, f"{name}: released at the cancel")

    window.quick_menu("3 минуты")
    wait_count(holds, 1, f"{name}: held for the next run")
    try:
        wait_until(lambda: window.title() == "Zindrel", 40, what="the countdown's firing")
    except TimeoutError as e:
        check(False, f"{name}: {e}")
    wait_count(holds, 0, f"{name}: released at the firing")

    window.quick_menu("3 минуты")
    wait_count(holds, 1, f"{name}: held before the kill")
    names = bus_names_of(fx, program.pid)
    check(names != [], f"{name}: the program's session-bus connection was found")
    os.kill(program.pid, signal.SIGKILL)
    program.wait(10)
    return program, names


def main():
    with Fixture("sleepguard-portal", logind=True) as fx:
        portal = add_portal(fx)
        gnome = add_gnome(fx)
        program, names = journey(fx, lambda: portal_holds(fx, portal), "portal")
        flags = {flags for _window, flags, _options in portal.method_calls("Inhibit")}
        check(flags == {4}, f"the portal is asked with flag 4 (suspend) only: {flags}")
        check(gnome.method_calls("Inhibit") == [], "the portal answered, so the session manager is not asked")
        check(logind_holds(fx) == [], "nor logind")
        # The portal lets go of a request when its caller leaves the bus, as the killed program's connection has.
        try:
            wait_until(lambda: not any(fx.name_owned("session", n) for n in names), 5, what="the connection gone")
        except TimeoutError as e:
            check(False, f"killed program: {e}")

        # The alarm clock: held with its time; without the helper beside the program one line says so, once.
        program = fx.run_program(folder=fx.program_folder("alarm", settings=SETTINGS), name="alarm")
        window = MainWindow(fx, program, timeout=30)
        time.sleep(1)
        # The killed program's request stays open in this mock: only the later ones count.
        first = len(portal.method_calls("Inhibit"))
        # A fresh program starts in alarm-clock mode at the current minute, which would fire at once: an hour earlier
        # falls tomorrow.
        fx.click(window.id, *HOUR_DOWN)
        for attempt in range(2):
            window.arm()
            what = f"alarm clock, arming {attempt + 1}"
            held = wait_count(lambda: portal_holds(fx, portal, first), 1, f"{what}: one hold once armed")
            if held:
                check(held[0][0].startswith("Zindrel: заведён будильник на "), f"alarm reason {held[0][0]!r}")
            fx.click(window.id, *CANCEL)
            wait_count(lambda: portal_holds(fx, portal, first), 0, f"{what}: released at the cancel")
        lines = [line for line in program.output().splitlines() if NO_HELPER in line]
        check(len(lines) == 1, f"one stderr line that the alarm will not wake the machine: {lines}")

    with Fixture("sleepguard-gnome", logind=True) as fx:
        gnome = add_gnome(fx)
        program, names = journey(fx, lambda: gnome_holds(gnome), "gnome")
        flags = {args[3] for args in gnome.method_calls("Inhibit")}
        check(flags == {4}, f"the session manager is asked with flag 4 (suspend) only: {flags}")
        check(logind_holds(fx) == [], "the session manager answered, so logind holds nothing")
        try:
            wait_until(lambda: not any(fx.name_owned("session", n) for n in names), 5, what="the connection gone")
        except TimeoutError as e:
            check(False, f"killed program: {e}")

    with Fixture("sleepguard-logind", logind=True) as fx:
        kinds = set()

        def holds():
            held = logind_holds(fx)
            kinds.update((what, mode) for _why, what, mode in held)
            return held

        journey(fx, holds, "logind")
        try:
            wait_until(lambda: logind_holds(fx) == [], 5, what="logind's lock dropped with the killed program")
        except TimeoutError as e:
            check(False, str(e))
        check(kinds == {("idle", "block")}, f"only an idle lock is ever taken, never sleep or shutdown: {kinds}")

    return check.code()


if __name__ == "__main__":
    sys.exit(main())
