# SPDX-License-Identifier: GPL-3.0-or-later
"""Quick menu "3 минуты" under time sped up 60 times: the window hides to the tray, and at the firing it comes
back with the idle captions and the sound is heard twice on the null sink's monitor."""

import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from fixture import Fixture, MainWindow, dominant_frequency, segments, wait_until  # noqa: E402

SPEED = 60
TONE_HZ = 440


def alarm_sound(fx):
    """A wave file of 0.5 s at 440 Hz and 0.3 s of silence, so that two plays in a row stay two sounds."""
    path = os.path.join(fx.root, "alarm.wav")
    subprocess.run(
        ["sox", "-D", "-n", "-r", "44100", "-c", "1", "-b", "16", path, "synth", "0.5", "sine", str(TONE_HZ), "pad", "0", "0.3"],
        check=True,
    )
    return path


def sound_backend_missing(program):
    """Why the program cannot reach the sound server yet, or None."""
    for line in program.output().splitlines():
        if "no sound" in line:
            return f"the sound backend says: {line}"
    return None


def sound_libraries_mapped(program):
    """The sound libraries the program has loaded so far."""
    with open(f"/proc/{program.pid}/maps", encoding="utf-8") as f:
        return sorted({name for line in f for name in ("libpulse.so", "libsndfile.so") if name in line})


def main():
    failures = []
    with Fixture("quickmenu", pulse=True, tray="xembed") as fx:
        # A wave file as the alarm sound: the single-slot run sounds it twice.
        folder = fx.program_folder(settings=f"[main]\nsound_type=1\nsound_file={alarm_sound(fx)}\n")
        program = fx.run_program(folder=folder, speed=SPEED)
        window = MainWindow(fx, program, timeout=30)
        time.sleep(0.5)
        # Most starts never play a sound: the libraries come with the first one.
        loaded = sound_libraries_mapped(program)
        if loaded:
            failures.append(f"the sound libraries are loaded before any sound: {loaded}")
        recording = fx.start_recording("quickmenu")
        window.quick_menu("3 минуты")
        armed_at = time.monotonic()
        try:
            wait_until(lambda: not window.mapped(), 5, what="the window hidden to the tray")
        except TimeoutError as e:
            failures.append(f"arming from the quick menu did not hide the window: {e}")
        title = window.title()
        if title != "Zindrel - заведён":
            failures.append(f"the armed title is {title!r}")
        fx.screenshot("quickmenu-armed")

        # Three minutes at 60 times the speed are three seconds; the sound follows the window.
        try:
            wait_until(window.mapped, 30, 0.05, what="the window back at the firing")
            fired_after = time.monotonic() - armed_at
            if not 1.5 <= fired_after <= 12:
                failures.append(f"the 3-minute countdown fired after {fired_after:.1f} s at x{SPEED}")
        except TimeoutError as e:
            failures.append(f"the window did not come back: {e}")
        fx.screenshot("quickmenu-fired")
        try:
            wait_until(lambda: window.title() == "Zindrel", 5, what="the idle title")
        except TimeoutError:
            failures.append(f"the title after the firing is {window.title()!r}, not 'Zindrel'")
        time.sleep(3)  # both sounds
        wav = fx.stop_recording(recording)
        found = segments(wav)
        missing = sound_backend_missing(program)
        if not found and missing:
            failures.append(f"no sound at the firing: {missing}")
        elif len(found) != 2 or not all(0.4 <= length <= 0.7 for _start, length in found):
            failures.append(f"expected the 0.5 s alarm sound twice, heard {found}")
        else:
            for start, length in found:
                hz = dominant_frequency(wav, start, length)
                if abs(hz - TONE_HZ) > 20:
                    failures.append(f"a sound at {hz:.0f} Hz, not the alarm's {TONE_HZ} Hz")
        if not program.running():
            failures.append(f"the program exited ({program.process.returncode}): {program.output()[-500:]}")
    for failure in failures:
        print(f"FAIL: {failure}", file=sys.stderr)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
