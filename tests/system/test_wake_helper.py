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


def run(args, prefix=()):
    """Runs the helper with its input an open pipe; returns its code, its stderr and how long it ran."""
    started, (read_end, write_end) = time.monotonic(), os.pipe()
    proc = subprocess.run([*prefix, os.environ["ZINDREL_WAKE_HELPER"], *args], stdin=read_end, capture_output=True,
                          text=True, timeout=20)
    os.close(read_end)
    os.close(write_end)
    return proc.returncode, proc.stderr.strip(), time.monotonic() - started


def main():
    if not os.access(os.environ.get("ZINDREL_WAKE_HELPER", ""), os.X_OK):
        skip("ZINDREL_WAKE_HELPER is not built")
    now = int(time.time())
    for args in ([], [str(now + 60)] * 2, [""], ["abc"], ["-5"], [f"+{now + 60}"], [f"{now + 60}x"], [f" {now + 60}"],
                 ["0x7fffffff"], [str(now - 1)], ["1"], [str(now + 3 * 24 * 3600)], ["9" * 40]):
        code, err, took = run(args)
        check(code == 2 and err.startswith("zindrel-wake: ") and took < 2, f"{args!r} refused: {code} {err!r}")
    # Without the capability (any user's copy, before the package's setcap): code 3. Root can drop it to see.
    prefix = ("setpriv", "--bounding-set", "-wake_alarm") if os.getuid() == 0 else ()
    code, err, _ = run([str(now + 60)], prefix)
    check(code == 3 and "cap_wake_alarm" in err, f"without cap_wake_alarm: {code} {err!r}")
    if os.getuid() == 0:
        code, err, took = run([str(int(time.time()) + 2)])
        check(code == 0 and 1 <= took < 5, f"the alarm held until its time: {code} {err!r} after {took:.1f} s")
        proc = subprocess.Popen([os.environ["ZINDREL_WAKE_HELPER"], str(now + 3600)], stdin=subprocess.PIPE)
        time.sleep(1)
        check(proc.poll() is None, "a wake-up an hour ahead keeps the helper waiting")
        proc.stdin.close()  # the program cancelled the wake-up or ended
        check(proc.wait(5) == 0, "the closed pipe ends it at once")
    return check.code()


if __name__ == "__main__":
    sys.exit(main())
