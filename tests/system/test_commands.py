# SPDX-License-Identifier: GPL-3.0-or-later
"""One program per session, driven by later starts and by D-Bus on the fixture's private session bus: a second
start arms the first (caption, task, countdown), --status prints it, a bad option exits 2 and changes nothing, the
bus methods, the State property and the StateChanged signal answer busctl and gdbus, --cancel disarms, two starts
at the same moment leave one program, and a first start with options carries them out as far as the mocked
logind's PowerOff. The commands come from a shell with the session bus and no display; without a program there,
--status exits 3 and a start exits 4. A start while the program quits waits for its bus name and becomes it."""

import os
import re
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from fixture import LOGIND_POWER_METHODS, Fixture, MainWindow, wait_until  # noqa: E402

SOURCE = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
# The bus name is the application id the AppStream file gives.
with open(os.path.join(SOURCE, "packaging/zindrel.metainfo.xml"), encoding="utf-8") as _f:
    NAME = re.search(r"<id>([^<]+)</id>", _f.read()).group(1)
PATH = "/" + NAME.replace(".", "/")
ARMED = re.compile(r"^state=armed mode=countdown task=poweroff due=\d\d:\d\d left=5$")


def start(fx, folder, *args, display=True):
    """A later start of the program in the fixture's session (without display: as from ssh or cron); returns (exit
    code, stdout, stderr)."""
    env = {k: v for k, v in fx.env.items() if display or k not in ("DISPLAY", "QT_QPA_PLATFORM", "XDG_SESSION_TYPE")}
    fx.assert_private(env)
    out = subprocess.run(
        [os.path.join(folder, "zindrel"), *args], env=env, cwd=folder, capture_output=True, text=True, timeout=30
    )
    return out.returncode, out.stdout.strip(), out.stderr.strip()


def busctl(fx, *args):
    fx.assert_private()
    out = subprocess.run(["busctl", "--user", "--", *args], env=fx.env, capture_output=True, text=True, timeout=20)
    return out.returncode, out.stdout.strip(), out.stderr.strip()


def state(fx):
    """The State property as busctl reads it (it prints `s "<line>"`)."""
    out = busctl(fx, "get-property", NAME, PATH, NAME, "State")[1]
    found = re.fullmatch(r's "(.*)"', out)
    return found.group(1) if found else out


def main():
    failures = []

    def check(condition, what):
        if not condition:
            failures.append(what)
        return condition

    with Fixture("commands", logind=True) as fx:
        folder = fx.program_folder()
        first = fx.run_program(folder=folder)
        window = MainWindow(fx, first, timeout=30)
        wait_until(lambda: fx.name_owned("session", NAME), 15, what=f"{NAME} on the session bus")
        monitor = fx.spawn(
            ["gdbus", "monitor", "--session", "--dest", NAME, "--object-path", PATH], "gdbus-monitor", env=fx.env
        )
        time.sleep(0.5)

        code, out, err = start(fx, folder, "--in", "5", "--do", "poweroff", display=False)
        check(code == 0, f"--in 5 --do poweroff exited {code}: {err}")
        wait_until(lambda: window.title() == "Zindrel - заведён", 10, what="the armed caption")
        check(ARMED.match(state(fx)), f"State after --in 5 --do poweroff: {state(fx)!r}")
        check(first.running(), "the first program ended")

        code, out, err = start(fx, folder, "--status", display=False)
        check(code == 0 and ARMED.match(out), f"--status: exit {code}, {out!r} {err!r}")

        before = state(fx)
        for bad in (["--in", "0"], ["--in", "5", "--do", "nap"], ["--at", "25:00"], ["--bogus"], ["--do", "sleep"]):
            code, out, err = start(fx, folder, *bad)
            check(code == 2 and err, f"{bad}: exit {code}, stderr {err!r}")
        check(state(fx) == before, f"a bad option changed the state: {state(fx)!r}")
        code, out, err = start(fx, folder, "--in", "7")
        check(code == 1 and "--cancel" in err, f"arming an armed program: exit {code}, {err!r}")

        code, introspection, err = busctl(fx, "introspect", NAME, PATH, NAME)
        for member in ("ArmCountdown", "ArmAlarm", "Cancel", "Pause", "Resume", "Show", "Hide", "Quit", "State",
                       "StateChanged"):
            check(member in introspection, f"busctl introspect lacks {member}: {introspection!r} {err!r}")
        code, out, err = busctl(fx, "call", NAME, PATH, NAME, "Pause")
        check(code == 0, f"Pause over the bus: {code} {err}")
        wait_until(lambda: window.title() == "Zindrel - приостановлен", 10, what="the paused caption")
        code, out, err = busctl(fx, "call", NAME, PATH, NAME, "Pause")
        check(code != 0 and "уже на паузе" in err, f"a second Pause: {code} {err!r}")
        code, out, err = busctl(fx, "call", NAME, PATH, NAME, "ArmCountdown", "is", "0", "")
        check(code != 0 and "«0»" in err, f"ArmCountdown(0): {code} {err!r}")
        fx.assert_private()
        gdbus = subprocess.run(
            ["gdbus", "call", "--session", "--dest", NAME, "--object-path", PATH, "--method", f"{NAME}.Resume"],
            env=fx.env, capture_output=True, text=True, timeout=20,
        )
        check(gdbus.returncode == 0, f"gdbus Resume: {gdbus.stderr}")
        wait_until(lambda: window.title() == "Zindrel - заведён", 10, what="the armed caption after Resume")

        code, out, err = start(fx, folder, "--cancel", display=False)
        check(code == 0, f"--cancel: exit {code} {err}")
        wait_until(lambda: window.title() == "Zindrel - остановлен", 10, what="the stopped caption")
        code, out, err = start(fx, folder, "--status")
        check(code == 1 and out == "state=stopped mode=countdown task=poweroff", f"--status stopped: {code} {out!r}")
        code, out, err = busctl(fx, "call", NAME, PATH, NAME, "ArmAlarm", "ss", "--cancel", "")
        check(code != 0 and "«--cancel»" in err, f"ArmAlarm('--cancel'): {code} {err!r}")
        code, out, err = busctl(fx, "call", NAME, PATH, NAME, "ArmAlarm", "ss", "07:30", "remind")
        check(code == 0, f"ArmAlarm('07:30', 'remind'): {code} {err}")
        wait_until(lambda: window.title() == "Zindrel - заведён", 10, what="the armed caption of the alarm")
        check(state(fx) == "state=armed mode=alarm task=remind due=07:30", f"State of the alarm: {state(fx)!r}")
        code, out, err = busctl(fx, "call", NAME, PATH, NAME, "Cancel")
        check(code == 0, f"Cancel over the bus: {code} {err}")
        wait_until(lambda: window.title() == "Zindrel - остановлен", 10, what="the stopped caption after Cancel")
        code, out, err = start(fx, folder)
        check(code == 0, f"a start without options: exit {code} {err}")
        wait_until(window.mapped, 10, what="the window brought back")

        time.sleep(0.5)
        fx._stop_pid(monitor.pid, "gdbus monitor")
        with open(fx._log("gdbus-monitor"), encoding="utf-8", errors="replace") as f:
            monitored = f.readlines()
        signals = [line for line in monitored if f"{NAME}.StateChanged" in line]
        properties = [line for line in monitored if "PropertiesChanged" in line and "'State'" in line]
        check(len(properties) == len(signals), f"{len(signals)} StateChanged but PropertiesChanged: {properties}")
        for wanted in ("state=armed mode=countdown task=poweroff", "state=paused", "state=stopped",
                       "state=armed mode=alarm task=remind due=07:30"):
            check(any(wanted in line for line in signals), f"no StateChanged with {wanted!r}: {signals}")

        code, out, err = start(fx, folder, "--quit", display=False)
        check(code == 0, f"--quit: exit {code} {err}")
        check(first.wait(15) == 0, "the program did not end on --quit")
        code, out, err = start(fx, folder, "--status", display=False)
        check(code == 3 and not out, f"--status with no program: exit {code}, {out!r}")
        code, out, err = start(fx, folder, display=False)
        check(code == 4 and "нет дисплея" in err, f"a start to become the program, no display: exit {code}, {err!r}")

        # A quitting program's name without its object, gone after 1.5 s: the start waits and becomes the program.
        script = ("import dbus, dbus.mainloop.glib as g, sys; from gi.repository import GLib; "
                  "g.DBusGMainLoop(set_as_default=True); dbus.SessionBus().request_name(sys.argv[1]); print(); "
                  "loop = GLib.MainLoop(); GLib.timeout_add(1500, loop.quit); loop.run()")
        owner = subprocess.Popen(["/usr/bin/python3", "-c", script, NAME], env=fx.env, stdout=subprocess.PIPE)
        owner.stdout.readline()
        successor = fx.run_program(["--in", "5"], folder=folder, name="successor")
        fx.wait_window("Zindrel - заведён", timeout=30, pid=successor.pid)
        check(owner.wait(10) == 0 and successor.running(), f"the start while quitting: {successor.output()[-300:]}")
        start(fx, folder, "--quit")
        check(successor.wait(15) == 0, "the waiting start's program did not end on --quit")

        # Two starts at the same moment: one takes the name, the other hands over and ends.
        fx.assert_private()
        pair = [fx.run_program(folder=folder, name=f"twin{n}") for n in (1, 2)]
        wait_until(lambda: any(not p.running() for p in pair), 30, what="one of two simultaneous starts to end")
        time.sleep(1)
        running = [p for p in pair if p.running()]
        check(len(running) == 1, f"{len(running)} of two simultaneous starts run")
        ended = [p for p in pair if not p.running()]
        check(all(p.wait(1) == 0 for p in ended), "the start that handed over did not exit 0")
        if running:
            MainWindow(fx, running[0], timeout=30)
            start(fx, folder, "--quit")
            check(running[0].wait(15) == 0, "the remaining program did not end on --quit")

        # Started with options and no program running: it starts and carries them out, here to the mocked logind.
        speedy = fx.program_folder("speedy", settings="[main]\nhide_message_alarm=1\n")
        program = fx.run_program(["--in", "1", "--do", "poweroff"], folder=speedy, speed=60, name="speedy")
        try:
            check(program.wait(60) == 0, f"the started program's exit: {program.output()[-300:]}")
        except TimeoutError as e:
            check(False, f"the program armed from its command line did not fire: {e}")
        calls = [(name, args) for name, args in fx.logind.calls() if name in LOGIND_POWER_METHODS]
        check(calls == [("PowerOff", [True])], f"logind got {calls}, expected exactly one PowerOff(true)")
    # The completion the package installs offers the options and the tasks of --do.
    completion = os.path.join(SOURCE, "packaging/zindrel.bash-completion")
    for words, wanted in ((["zindrel", "--do", "p"], "poweroff"), (["zindrel", "--st"], "--status")):
        script = f"source {completion}; COMP_WORDS=({' '.join(words)}); COMP_CWORD={len(words) - 1}; _zindrel; " \
            'echo "${COMPREPLY[*]}"'
        out = subprocess.run(["bash", "-c", script], capture_output=True, text=True, timeout=10).stdout.strip()
        check(out == wanted, f"completing {words}: {out!r}")
    for failure in failures:
        print(f"FAIL: {failure}", file=sys.stderr)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
