# SPDX-License-Identifier: GPL-3.0-or-later
"""The real main window under Xvfb: it maps, arming hides it to the tray (or minimises it without one), and the
tray icon's double-click brings it back."""

import os
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from fixture import Fixture, MainWindow, wait_until  # noqa: E402


def program_windows(fx, program):
    """The program's viewable top-level windows as {id: (x, y, w, h)}."""
    found = {}
    for window in fx.find_windows(".*", visible=True, pid=program.pid):
        try:
            found[window] = fx.window_geometry(window)
        except RuntimeError:
            pass  # gone between the search and the query
    return found


def tray_icon_window(fx, program, main_window):
    """The program's icon embedded in trayer: its small viewable window other than the main one."""

    def find():
        for window, (_x, _y, w, h) in program_windows(fx, program).items():
            if window != main_window and 8 <= w <= 64 and 8 <= h <= 64:
                return window
        return None

    return wait_until(find, 10, 0.1, what="the tray icon embedded in trayer")


def journey_tray(failures):
    with Fixture("mainwindow-tray", tray="xembed") as fx:
        program = fx.run_program()
        window = fx.wait_window("Zindrel", timeout=20)
        x, y, w, h = fx.window_geometry(window)
        if (w, h) != (571, 270):
            failures.append(f"main window is {w}x{h}, expected the fixed 571x270")
        time.sleep(1.5)  # the window fades in
        fx.screenshot("mainwindow-start")

        icon = tray_icon_window(fx, program, window)
        fx.screenshot("mainwindow-tray-icon")

        fx.click(window, *MainWindow.ARM_BUTTON)
        try:
            wait_until(lambda: not fx.window_mapped(window), 10, what="the window hidden after arming")
        except TimeoutError as e:
            failures.append(f"with a tray, arming did not hide the window: {e}")
        title = fx.window_title(window)
        if title == "Zindrel":
            failures.append("the armed window's title is still the idle 'Zindrel'")
        fx.screenshot("mainwindow-armed-in-tray")

        fx.click(icon, 8, 8, repeat=2)
        try:
            wait_until(lambda: fx.window_mapped(window), 10, what="the window shown by the tray double-click")
        except TimeoutError as e:
            failures.append(f"the tray icon's double-click did not bring the window back: {e}")
        fx.screenshot("mainwindow-back-from-tray")

        # Still armed, hidden again ("Свернуть"): the tray goes away, then comes back; the window follows it.
        fx.click(window, 386 + 92 + 41, 60 + 42 + 12)
        wait_until(lambda: not fx.window_mapped(window), 10, what="the window hidden by 'Свернуть'")
        fx._stop_pid(next(pid for pid, what in fx._pids if what == "trayer"), "trayer")
        try:
            wait_until(lambda: fx.window_mapped(window), 5, what="the window out of the tray that went away")
            fx.start_tray("xembed")
            wait_until(lambda: not fx.window_mapped(window), 5, what="the window hidden into the new tray")
        except TimeoutError as e:
            failures.append(f"the window did not follow the tray: {e}")
        if not program.running():
            failures.append(f"the program exited ({program.process.returncode}): {program.output()[-500:]}")


def journey_notifier_tray(failures):
    """A StatusNotifierItem host reports single activations only: one brings the window back."""
    with Fixture("mainwindow-sni", tray="sni") as fx:
        program = fx.run_program()
        window = fx.wait_window("Zindrel", timeout=20)
        time.sleep(1.5)
        items = wait_until(
            lambda: fx.tray_watcher.method_calls("RegisterStatusNotifierItem"), 10, what="the icon registered"
        )
        service = items[0][0]
        fx.click(window, *MainWindow.ARM_BUTTON)
        try:
            wait_until(lambda: not fx.window_mapped(window), 10, what="the window hidden after arming")
        except TimeoutError as e:
            failures.append(f"with a notifier host, arming did not hide the window: {e}")
        item = fx.dbus_object("session", service, "/StatusNotifierItem")
        item.Activate(0, 0, dbus_interface="org.kde.StatusNotifierItem")
        try:
            wait_until(lambda: fx.window_mapped(window), 10, what="the window shown by the icon's activation")
        except TimeoutError as e:
            failures.append(f"activating the notifier icon did not bring the window back: {e}")
        fx.screenshot("mainwindow-back-from-notifier")
        if not program.running():
            failures.append(f"the program exited ({program.process.returncode}): {program.output()[-500:]}")


def journey_no_tray(failures):
    with Fixture("mainwindow-notray", wm=True) as fx:
        program = fx.run_program()
        window = fx.wait_window("Zindrel", timeout=20)
        wait_until(lambda: fx.wm_state(window) == "Normal", 10, what="the window managed as Normal")
        time.sleep(1.5)
        # A double-click on the form itself arms.
        fx.click(window, *MainWindow.BARE_FORM, repeat=2)
        try:
            wait_until(lambda: fx.wm_state(window) == "Iconic", 10, what="WM_STATE Iconic after arming")
        except TimeoutError as e:
            failures.append(f"without a tray, arming did not minimise the window (WM_STATE {fx.wm_state(window)}): {e}")
        net_state = fx.property(window, "_NET_WM_STATE") or ""
        if "_NET_WM_STATE_HIDDEN" not in net_state:
            failures.append(f"the minimised window's _NET_WM_STATE lacks _NET_WM_STATE_HIDDEN: {net_state!r}")
        fx.screenshot("mainwindow-minimised")
        if not program.running():
            failures.append(f"the program exited ({program.process.returncode}): {program.output()[-500:]}")


def main():
    failures = []
    for journey in (journey_tray, journey_notifier_tray, journey_no_tray):
        try:
            journey(failures)
        except TimeoutError as e:
            failures.append(f"{journey.__name__}: {e}")
    for failure in failures:
        print(f"FAIL: {failure}", file=sys.stderr)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
