# SPDX-License-Identifier: GPL-3.0-or-later
"""The alarm sound through a real PulseAudio daemon: the null sink's monitor is recorded and measured."""

import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from fixture import Fixture, read_samples, segments, skip  # noqa: E402

OFFSCREEN = {"QT_QPA_PLATFORM": "offscreen"}


def sounding_frequency(path, start, length, rate=44100):
    """Whole periods per second inside the sounding stretches, from each stretch's first rising zero crossing to its
    last: a stretch is a run of 10 ms windows that sound, as do their neighbours, so neither a window beside a quiet
    one nor the join between two tones played with a pause between them counts."""
    samples = read_samples(path, rate)[int(start * rate) : int((start + length) * rate)]
    step = rate // 100
    chunks = [samples[i : i + step] for i in range(0, len(samples) - step + 1, step)]
    sounding = [max(abs(min(chunk)), abs(max(chunk))) >= 500 for chunk in chunks]
    runs, run = [], []
    for i, chunk in enumerate(chunks):
        if all(sounding[max(i - 1, 0) : i + 2]):
            run.extend(chunk)
        elif run:
            runs.append(run)
            run = []
    runs.append(run)
    periods = span = 0
    for r in runs:
        rising = [i for i, (a, b) in enumerate(zip(r, r[1:])) if a < 0 <= b]
        if len(rising) >= 2:
            periods += len(rising) - 1
            span += rising[-1] - rising[0]
    return periods * rate / span if span else 0.0


def recorded(fx, name, gtest_filter, extra_env):
    """Runs one gtest case while the monitor is recorded; returns (exit code, the recording's sounding parts, path)."""
    rec = fx.start_recording(name)
    time.sleep(1.0)
    code = fx.run_system_tests(gtest_filter, timeout=60, extra_env=extra_env)
    time.sleep(0.5)
    path = fx.stop_recording(rec)
    return code, segments(path), path


def check_one_sound(what, parts, path, seconds, hz, failures):
    if len(parts) != 1:
        failures.append(f"{what}: expected one sound, found {parts}")
        return
    start, length = parts[0]
    if not seconds - 0.1 <= length <= seconds + 0.3:
        failures.append(f"{what}: {length:.2f} s of sound, expected about {seconds} s")
    freq = sounding_frequency(path, start, length)
    if abs(freq - hz) > hz * 0.05:
        failures.append(f"{what}: {freq:.1f} Hz, expected {hz} Hz")
    print(f"{what}: {length:.2f} s at {freq:.1f} Hz", file=sys.stderr)


def main():
    for tool in ("sox", "parecord"):
        if subprocess.run(["which", tool], capture_output=True).returncode != 0:
            skip(f"{tool} is not installed")
    failures = []
    with Fixture("sound", xvfb=False, pulse=True) as fx:
        wav = os.path.join(fx.root, "one second.wav")
        subprocess.run(["sox", "-n", "-r", "44100", "-c", "1", "-b", "16", wav, "synth", "1", "sine", "440"],
                       check=True)
        env = dict(OFFSCREEN, ZINDREL_TEST_WAV=wav)

        code, parts, path = recorded(fx, "pcspeaker", "SystemSound.PcSpeaker*", env)
        if code != 0:
            failures.append("PCSpeaker gtest failed")
        check_one_sound("PCSpeaker", parts, path, 1.0, 120, failures)

        code, parts, path = recorded(fx, "wavefile", "SystemSound.WaveFile*", env)
        if code != 0:
            failures.append("wave file gtest failed")
        check_one_sound("wave file", parts, path, 1.0, 440, failures)

        code, parts, path = recorded(fx, "missing", "SystemSound.MissingFile*", env)
        if code != 0:
            failures.append("missing file gtest failed")
        if not parts:
            failures.append("a file that cannot be played gave no default sound")

        if fx.run_system_tests("SystemSound.NoSoundServer*", timeout=30, extra_env=env) != 0:
            failures.append("no-server gtest failed")

        if fx.run_system_tests("SystemSound.AServerThatStops*", timeout=60, extra_env=env) != 0:
            failures.append("stopped-server gtest failed")
    for f in failures:
        print("FAIL:", f, file=sys.stderr)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
