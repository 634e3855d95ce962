# SPDX-License-Identifier: GPL-3.0-or-later
"""A launch list of two entries typed in the extras dialog and saved ("Сохранить"), loaded ("Загрузить") after a
restart, and run by a quick-menu firing: each entry leaves its file."""

import os
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from fixture import Fixture, MainWindow, wait_until  # noqa: E402

SPEED = 60
EXTRAS_SIZE = (400, 320)
LAUNCH_BUTTON = (4 + 6 + 42, 192 + 44 + 11)
PAGE = (4 + 1, 4 + 27)
RUN_FILES = (PAGE[0] + 8 + 9, PAGE[1] + 40 + 9)
FILE_NAME = (PAGE[0] + 8 + 100, PAGE[1] + 218 + 11)
ADD, SAVE, LOAD = ((PAGE[0] + 292 + 44, PAGE[1] + 62 + 26 * i + 11) for i in (0, 2, 3))
OK = (317 + 37, 288 + 12)


def open_launch_page(fx, window):
    fx.click(window.id, *LAUNCH_BUTTON)
    extras = window.dialog(EXTRAS_SIZE)
    time.sleep(0.3)
    return extras


def close_dialog(fx, extras):
    fx.click(extras, *OK)
    wait_until(lambda: not fx.window_mapped(extras), 5, what="the extras dialog closed")


def main():
    failures = []
    with Fixture("launchlist", tray="xembed") as fx:
        marks = [os.path.join(fx.root, f"launched-{n}") for n in ("one", "two")]
        entries = [f"date +%s.%N > {mark}" for mark in marks]
        folder = fx.program_folder()

        program = fx.run_program(folder=folder, speed=SPEED)
        window = MainWindow(fx, program, timeout=30)
        extras = open_launch_page(fx, window)
        for entry in entries:
            fx.click(extras, *FILE_NAME)
            fx.type_text(entry)
            fx.click(extras, *ADD)
            time.sleep(0.2)
        fx.click(extras, *SAVE)
        fx.screenshot("launchlist-saved", extras)
        close_dialog(fx, extras)
        saved = os.path.join(folder, "runfiles.ini")
        if not os.path.exists(saved):
            failures.append("'Сохранить' wrote no runfiles.ini in the program folder")
        else:
            lines = open(saved, encoding="utf-8").read().splitlines()
            if lines != entries:
                failures.append(f"runfiles.ini holds {lines}, expected {entries}")
        window.exit_from_menu()
        program.wait(20)

        program = fx.run_program(folder=folder, speed=SPEED, name="restarted")
        window = MainWindow(fx, program, timeout=30)
        extras = open_launch_page(fx, window)
        fx.click(extras, *LOAD)
        fx.click(extras, *RUN_FILES)
        fx.screenshot("launchlist-loaded", extras)
        close_dialog(fx, extras)
        if any(os.path.exists(mark) for mark in marks):
            failures.append("an entry ran before the firing")
        window.quick_menu("3 минуты")
        try:
            wait_until(lambda: all(os.path.exists(mark) for mark in marks), 30, 0.1, what="both entries run")
        except TimeoutError as e:
            failures.append(f"{e}: found {[m for m in marks if os.path.exists(m)]}")
        fx.screenshot("launchlist-fired")
    for failure in failures:
        print(f"FAIL: {failure}", file=sys.stderr)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
