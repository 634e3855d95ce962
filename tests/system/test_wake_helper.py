# SPDX-License-Identifier: GPL-3.0-or-later
"""zindrel-wake, the helper that holds the alarm clock's wake alarm: it refuses every argument but one time in the
future (within two days), says why on stderr and ends at once; given such a time it holds the alarm timer until the
time passes or its input closes; without cap_wake_alarm it ends with code 3 and says so."""

import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from fixture import Checks, skip  # noqa: E402

check = Checks()


def run(helper, args, stdin=subprocess.DEVNULL, prefix=()):
    started = time.monotonic()
    proc = subprocess.run([*prefix, helper, *args], stdin=stdin, capture_output=True, text=True, timeout=20)
    return proc.returncode, proc.stderr.strip(), time.monotonic() - started


def main():
    helper = os.environ.get("ZINDREL_WAKE_HELPER")
    if not helper or not os.access(helper, os.X_OK):
        skip(f"ZINDREL_WAKE_HELPER is not an executable: {helper!r}")
    now = int(time.time())
    refused = [
        [],
        [str(now + 60), str(now + 120)],
        [""],
        ["abc"],
        ["-5"],
        ["+" + str(now + 60)],
        [str(now + 60) + "x"],
        [" " + str(now + 60)],
        ["0x7fffffff"],
        [str(now - 1)],
        ["1"],
        [str(now + 3 * 24 * 3600)],
        ["9" * 40],
    ]
    for args in refused:
        code, err, took = run(helper, args)
        check(code == 2 and err.startswith("zindrel-wake: ") and took < 2, f"{args!r} refused: {code} {err!r}")

    root = os.getuid() == 0
    if root:
        # Without the capability, as any user is before the package's setcap.
        code, err, _ = run(helper, [str(now + 60)], prefix=("setpriv", "--bounding-set", "-wake_alarm"))
        check(code == 3 and "cap_wake_alarm" in err, f"without cap_wake_alarm: {code} {err!r}")
        # With it: held until the time passes, then ends by itself.
        read_end, write_end = os.pipe()
        code, err, took = run(helper, [str(int(time.time()) + 2)], stdin=read_end)
        os.close(read_end)
        os.close(write_end)
        check(code == 0 and 1 <= took < 5, f"the alarm held until its time: {code} {err!r} after {took:.1f} s")
        # Or until its input closes: the program cancelled the wake-up or ended.
        proc = subprocess.Popen([helper, str(int(time.time()) + 3600)], stdin=subprocess.PIPE, stderr=subprocess.PIPE)
        time.sleep(1)
        check(proc.poll() is None, "a wake-up an hour ahead keeps the helper waiting")
        started = time.monotonic()
        proc.stdin.close()
        try:
            code = proc.wait(5)
        except subprocess.TimeoutExpired:
            proc.kill()
            code = proc.wait()
        check(code == 0 and time.monotonic() - started < 2, f"the closed pipe ends it at once: {code}")
    else:
        code, err, _ = run(helper, [str(now + 60)])
        check(code == 3 and "cap_wake_alarm" in err, f"a user's helper without cap_wake_alarm: {code} {err!r}")
    return check.code()


if __name__ == "__main__":
    sys.exit(main())
