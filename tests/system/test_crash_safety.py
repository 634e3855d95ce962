# SPDX-License-Identifier: GPL-3.0-or-later
"""Crash safety of the settings file: a child rewriting six keys in a loop (old and new values in turn) is killed
with SIGKILL at random moments, 200 times. After every kill the file is whole: every line ends in CR LF, section
"main" holds each key exactly once with its old or its new value, and the next child reads the same through the
program's own reader."""

import os
import random
import select
import signal
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from fixture import Fixture, skip  # noqa: E402

KILLS = 200

# The same pairs as tests/system/SettingsWriter.cpp, as the file holds them (multi-line values escaped behind
# the mark \x01).
MARK = "\x01"
VALUES = {
    "alpha": ("200", "150"),
    "sec": ("15", "45"),
    "text_alarm": (MARK + "Старый текст\\r\\nвторая строка \\\\ конец", "Новый текст " + "я" * 1500),
    "sound_file": ("/tmp/old.wav", "/tmp/" + "b" * 1000 + ".wav"),
    "pass": ("", "секрет"),
    "text_alarm2": ("Таймер 2", MARK + "Таймер 2\\r\\n\\r\\nпосле пустой строки"),
}


def check_file(path):
    """Returns what is wrong with the settings file (empty when it is whole), and which keys hold the new value."""
    with open(path, "rb") as f:
        data = f.read()
    if not data.endswith(b"\r\n"):
        return [f"the file does not end with CR LF ({len(data)} bytes)"], 0
    try:
        text = data.decode("utf-8")
    except UnicodeDecodeError as e:
        return [f"the file is not whole UTF-8: {e}"], 0
    lines = text[:-2].split("\r\n")
    problems = []
    if lines[0] != "[main]":
        problems.append(f"first line {lines[0][:40]!r}")
    seen = {}
    for line in lines[1:]:
        key, eq, value = line.partition("=")
        if not eq or key not in VALUES or key in seen:
            problems.append(f"unexpected line {line[:40]!r}")
            continue
        seen[key] = value
    fresh = 0
    for key, (old, new) in VALUES.items():
        if key not in seen:
            problems.append(f"{key} is missing")
        elif seen[key] not in (old, new):
            problems.append(f"{key} holds neither value: {seen[key][:40]!r}")
        else:
            fresh += seen[key] == new
    return problems, fresh


def main():
    binary = os.environ.get("ZINDREL_SYSTEM_TESTS")
    if not binary or not os.access(binary, os.X_OK):
        skip("ZINDREL_SYSTEM_TESTS is not built")
    with Fixture("crash_safety", xvfb=False, buses=False) as fx:
        folder = fx.program_folder("writer")
        path = os.path.join(folder, "zindrel_writer.ini")
        env = dict(fx.env, QT_QPA_PLATFORM="offscreen", ZINDREL_WRITER_FILE=path)
        rng = random.Random(int(os.environ.get("ZINDREL_CRASH_SEED", "0")) or None)
        failures = []
        survived = 0
        checks = 0
        mixed = 0
        started = time.monotonic()
        for kill in range(KILLS):
            child = subprocess.Popen(
                [binary, "--gtest_filter=SettingsWriter.*"],
                env=env,
                stdout=subprocess.PIPE,
                stderr=subprocess.DEVNULL,
                stdin=subprocess.DEVNULL,
            )
            output = b""
            deadline = time.monotonic() + 20
            while b"ready\n" not in output and time.monotonic() < deadline:
                ready, _, _ = select.select([child.stdout], [], [], 0.5)
                if ready:
                    chunk = os.read(child.stdout.fileno(), 4096)
                    if not chunk:
                        break
                    output += chunk
            if b"ready\n" not in output:
                child.kill()
                child.wait()
                failures.append(f"kill {kill}: the writer never got ready: {output[-200:]!r}")
                break
            if kill > 0:
                checks += 1
                if b"check ok\n" not in output:
                    failures.append(f"kill {kill}: the program's reader found {output.decode(errors='replace')!r}")
            # Somewhere inside the write loop: each round rewrites the file six times.
            time.sleep(rng.uniform(0, 0.05))
            os.kill(child.pid, signal.SIGKILL)
            child.wait()
            child.stdout.close()
            problems, fresh = check_file(path)
            if problems:
                failures.append(f"kill {kill}: " + "; ".join(problems))
            else:
                survived += 1
                mixed += 0 < fresh < len(VALUES)
        leftovers = [n for n in os.listdir(folder) if n.startswith("zindrel_writer.ini.")]
        print(
            f"crash safety: {survived} of {KILLS} kills survived with a whole file ({mixed} caught between two keys of "
            f"a round), {checks} files re-read by the program's reader, {len(leftovers)} temporary files left by "
            f"killed writes, {time.monotonic() - started:.1f} s"
        )
        if mixed == 0:
            failures.append("no kill landed between two writes of a round: the kills were not inside the loop")
    for failure in failures[:20]:
        print("FAIL:", failure, file=sys.stderr)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
