# SPDX-License-Identifier: GPL-3.0-or-later
"""First start with no settings file: the window "Zindrel" fades in centred on the screen, and leaving through
"Выход" stores its placement in a window_main section of the settings file."""

import os
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from fixture import Fixture, MainWindow  # noqa: E402

OPAQUE = 0xFFFFFFFF


def opacity(fx, window):
    """_NET_WM_WINDOW_OPACITY as a number (None when the window has none, which means opaque)."""
    value = fx.property(window, "_NET_WM_WINDOW_OPACITY")
    return int(value.split(",")[0]) if value else None


def main():
    failures = []
    with Fixture("firststart") as fx:
        folder = fx.program_folder()
        settings = fx.settings_path(folder)
        # The fade lasts a quarter of a second; at a tenth of the speed it can be watched from outside.
        program = fx.run_program(folder=folder, speed=0.1)
        window = fx.wait_window("Zindrel", timeout=30, visible=False, pid=program.pid)
        levels = []
        deadline = time.monotonic() + 15
        while time.monotonic() < deadline:
            level = opacity(fx, window)
            levels.append(level)
            if level == OPAQUE:
                break
            time.sleep(0.02)
        partial = [v for v in levels if v is not None and v < OPAQUE]
        if not partial:
            failures.append(f"the window never showed a partial opacity while starting: {levels[:10]}")
        elif partial != sorted(partial):
            failures.append(f"the fade-in was not rising: {partial}")
        if levels[-1] != OPAQUE:
            failures.append(f"the window did not end opaque: {levels[-1]}")
        fx.screenshot("firststart-window")
        # Nothing stored yet: the window opens centred on the fixture's 1280 x 800 screen.
        x, y, width, height = fx.window_geometry(window)
        if abs(x + width / 2 - 640) > 2 or abs(y + height / 2 - 400) > 2:
            failures.append(f"the window is not centred on the 1280 x 800 screen: {width}x{height} at {x},{y}")
        if os.path.exists(settings) and "[window_main]" in open(settings, encoding="utf-8").read():
            failures.append("a window_main section existed before the first exit")

        main_window = MainWindow(fx, program, timeout=30)
        main_window.exit_from_menu()
        try:
            code = program.wait(20)
            if code != 0:
                failures.append(f"the program exited with {code}")
        except TimeoutError as e:
            failures.append(f"'Выход' did not end the program: {e}")
        if not os.path.exists(settings):
            failures.append(f"no settings file {settings} after the exit (found {program.settings_files()})")
        else:
            text = open(settings, encoding="utf-8", errors="replace").read()
            if "[window_main]" not in text:
                failures.append(f"the settings file has no window_main section:\n{text}")
        for path in program.settings_files():
            if os.path.dirname(path) != folder:
                failures.append(f"a settings file outside the program folder: {path}")
    for failure in failures:
        print(f"FAIL: {failure}", file=sys.stderr)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
