# SPDX-License-Identifier: GPL-3.0-or-later
"""A phrase of 80 characters, tried as a new user would: the real program under Xvfb with a phrases file shows the
whole line across the top of the clock panel, neither end cut off (a screenshot among the test artefacts)."""

import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from fixture import Fixture, MainWindow  # noqa: E402

PHRASE = "Кто рано встаёт, тому Бог подаёт; кто поздно встаёт, тому и ЗВОНОК не поможет!!!"
PANEL_WIDTH = 571
TOP_LINE = range(2, 14)  # the rows of the top line, above the clock's digits


def text_columns(fx, png):
    """The columns of the panel's top line that hold text in the default text colour (blue on white)."""
    ppm = subprocess.run(["convert", png, "-depth", "8", "ppm:-"], env=fx.env, capture_output=True, check=True).stdout
    # P6 header: magic, width, height, maximum value, each ended by one blank.
    fields = ppm.split(maxsplit=4)
    width, pixels = int(fields[1]), fields[4]
    columns = set()
    for y in TOP_LINE:
        for x in range(PANEL_WIDTH):
            r, g, b = pixels[3 * (y * width + x) : 3 * (y * width + x) + 3]
            if b - r > 40 and b - g > 40:
                columns.add(x)
    return columns


def main():
    failures = []
    with Fixture("phrase") as fx:
        phrases = os.path.join(fx.root, "phrases.txt")
        with open(phrases, "w", encoding="utf-8") as f:
            f.write(PHRASE + "\n")
        folder = fx.program_folder(settings=f"[main]\nphrases={phrases}\n")
        program = fx.run_program(folder=folder)
        window = MainWindow(fx, program, timeout=30)
        time.sleep(1.5)  # the window fades in
        shot = fx.screenshot("phrase-80-characters", window.id)
        columns = text_columns(fx, shot)
        if not columns:
            failures.append("no text in the clock panel's top line")
        else:
            left, right = min(columns), max(columns)
            if right - left < 300:
                failures.append(f"the top line's text spans only x {left}..{right}: not the 80-character phrase")
            # A line cut off by its label reaches the label's edges; a whole one keeps a margin on both sides.
            if left < 8 or right > PANEL_WIDTH - 8:
                failures.append(f"the phrase runs from x {left} to {right}: cut off at the panel's edge")
        window.exit_from_menu()
        program.wait(20)
    for failure in failures:
        print(f"FAIL: {failure}", file=sys.stderr)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
