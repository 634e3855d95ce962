# SPDX-License-Identifier: GPL-3.0-or-later
"""A countdown with "Выключить компьютер" and warnings on: the stay-on-top warning counts down, "Отмена" keeps the
program running and unarmed, and nothing reaches the (mocked) logind."""

import os
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from fixture import LOGIND_POWER_METHODS, Fixture, MainWindow, wait_until  # noqa: E402

SPEED = 60
WARNING_SIZE = (488, 129)
CANCEL = (408 + 37, 104 + 12)


def main():
    failures = []
    with Fixture("warning", logind=True) as fx:
        # 600 warning seconds are 10 s at x60: time enough to watch the count and press "Отмена".
        folder = fx.program_folder(settings="[main]\nsec=600\nhide_message_alarm=0\n")
        program = fx.run_program(folder=folder, speed=SPEED)
        window = MainWindow(fx, program, timeout=30)
        window.choose_countdown()
        window.choose_task("Выключить компьютер")
        window.arm()
        try:
            dialog = window.dialog(WARNING_SIZE, timeout=20)
        except TimeoutError:
            fx.screenshot("warning-missing")
            print("FAIL: the warning dialog did not appear after the 1-minute countdown", file=sys.stderr)
            return 1
        state = fx.property(dialog, "_NET_WM_STATE") or ""
        if "_NET_WM_STATE_ABOVE" not in state:
            failures.append(f"the warning is not stay-on-top: _NET_WM_STATE {state!r}")
        first = fx.screenshot("warning-counting", dialog)
        time.sleep(1.5)
        second = fx.screenshot("warning-counting-later", dialog)
        if open(first, "rb").read() == open(second, "rb").read():
            failures.append("the warning's text did not change in 1.5 s (90 counted seconds)")
        fx.click(dialog, *CANCEL)
        try:
            wait_until(lambda: not fx.window_mapped(dialog), 5, what="the warning closed by 'Отмена'")
        except TimeoutError as e:
            failures.append(str(e))
        try:
            wait_until(window.mapped, 5, what="the main window back after 'Отмена'")
        except TimeoutError as e:
            failures.append(str(e))
        if window.title() != "Zindrel - остановлен":
            failures.append(f"after 'Отмена' the title is {window.title()!r}, not the cancelled 'Zindrel - остановлен'")
        time.sleep(12)  # past the end the warning would have had
        fx.screenshot("warning-cancelled")
        if fx.window_mapped(dialog):
            failures.append("a warning is showing again: the cancel did not disarm")
        if not program.running():
            failures.append(f"'Отмена' did not keep the program running (exit {program.process.returncode})")
        calls = [(name, args) for name, args in fx.logind.calls() if name in LOGIND_POWER_METHODS]
        if calls:
            failures.append(f"logind was asked {calls} although the warning was cancelled")
    for failure in failures:
        print(f"FAIL: {failure}", file=sys.stderr)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
