# SPDX-License-Identifier: GPL-3.0-or-later
"""A countdown with "Выключить компьютер" and warnings off: exactly one PowerOff(true) reaches the mocked logind on
the fixture's private system bus, and the program exits."""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from fixture import LOGIND_POWER_METHODS, Fixture, MainWindow  # noqa: E402

SPEED = 60


def main():
    failures = []
    with Fixture("poweroff", logind=True) as fx:
        folder = fx.program_folder(settings="[main]\nhide_message_alarm=1\n")
        program = fx.run_program(folder=folder, speed=SPEED)
        window = MainWindow(fx, program, timeout=30)
        window.choose_countdown()
        window.choose_task("Выключить компьютер")
        fx.screenshot("poweroff-before-arming")
        window.arm()
        try:
            code = program.wait(30)
            if code != 0:
                failures.append(f"the program exited with {code}: {program.output()[-500:]}")
        except TimeoutError as e:
            fx.screenshot("poweroff-still-running")
            failures.append(f"the program did not exit after the power-off: {e}")
        calls = [(name, args) for name, args in fx.logind.calls() if name in LOGIND_POWER_METHODS]
        if calls != [("PowerOff", [True])]:
            failures.append(f"logind got {calls}, expected exactly one PowerOff(true)")
    for failure in failures:
        print(f"FAIL: {failure}", file=sys.stderr)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
