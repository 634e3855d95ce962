# SPDX-License-Identifier: GPL-3.0-or-later
"""zindrel-wake, the helper that holds the alarm clock's wake alarm: it refuses every argument but one time from a
minute to two days ahead (code 2), a user logind's record does not show at a seat (code 4; the record is written into
a private /run, root only) and a second alarm of the user (code 5, after 3 s); given such a time it holds the alarm
timer until the time passes or its input closes; without cap_wake_alarm it ends with code 3 and says so."""

import os
import shlex
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from fixture import Checks, skip  # noqa: E402

check = Checks()
AT_SEAT = "STATE=active\nACTIVE_SESSIONS=2\nACTIVE_SEATS=seat0\n"
REMOTE = "STATE=active\nACTIVE_SESSIONS=4\n"  # an ssh login: active, but at no seat


def run(args, prefix=()):
    """Runs the helper with its input an open pipe; returns its code, its stderr and how long it ran."""
    started, (read_end, write_end) = time.monotonic(), os.pipe()
    proc = subprocess.run([*prefix, os.environ["ZINDREL_WAKE_HELPER"], *args], stdin=read_end, capture_output=True,
                          text=True, timeout=20)
    os.close(read_end)
    os.close(write_end)
    return proc.returncode, proc.stderr.strip(), time.monotonic() - started


def private_run(record, mode="644", uid=0):
    """A sleeping shell in a mount namespace whose /run holds only the user's record and runtime folder, and the
    prefix that runs a command in it as that user."""
    users = "/run/systemd/users"
    script = (f"mount -t tmpfs none /run && mkdir -p {users} /run/user/{uid} && chown {uid} /run/user/{uid} && "
              f"printf %s {shlex.quote(record)} > {users}/{uid} && chmod {mode} {users}/{uid} && echo && exec sleep 99")
    holder = subprocess.Popen(["unshare", "--mount", "sh", "-c", script], stdout=subprocess.PIPE, text=True)
    holder.stdout.readline()
    user = ["setpriv", f"--reuid={uid}", f"--regid={uid}", "--clear-groups"] if uid else []
    # Entering a mount namespace starts from that namespace's root; inside a chroot the holder's root is kept.
    return holder, ("nsenter", f"--mount=/proc/{holder.pid}/ns/mnt", f"--root=/proc/{holder.pid}/root", *user)


def main():
    if not os.access(os.environ.get("ZINDREL_WAKE_HELPER", ""), os.X_OK):
        skip("ZINDREL_WAKE_HELPER is not built")
    now = int(time.time())
    ahead = now + 120
    for args in ([], [str(ahead)] * 2, [""], ["abc"], ["-5"], [f"+{ahead}"], [f"{ahead}x"], [f" {ahead}"],
                 ["0x7fffffff"], [str(now - 1)], ["1"], [str(now + 30)], [str(now + 3 * 24 * 3600)], ["9" * 40]):
        code, err, took = run(args)
        check(code == 2 and err.startswith("zindrel-wake: ") and took < 2, f"{args!r} refused: {code} {err!r}")
    if os.getuid() != 0:
        print("not root: no private /run for the session checks, which need one")
        return check.code()
    # Without cap_wake_alarm (any user's copy before the package's setcap, or root without it): code 3.
    without = ("setpriv", "--bounding-set", "-wake_alarm")
    for record, mode, uid, prefix, wanted in ((REMOTE, "644", 0, (), 4), ("STATE=closing\n", "644", 0, (), 4),
                                              (AT_SEAT, "666", 0, (), 4), (AT_SEAT, "644", 65534, (), 3),
                                              (AT_SEAT, "644", 0, without, 3)):
        holder, enter = private_run(record, mode, uid)
        code, err, took = run([str(ahead)], (*enter, *prefix))
        check(code == wanted and took < 2, f"{record!r} {mode} uid {uid} {prefix}: {code} {err!r}, not {wanted}")
        holder.kill()
    holder, enter = private_run(AT_SEAT)
    proc = subprocess.Popen([*enter, os.environ["ZINDREL_WAKE_HELPER"], str(ahead)], stdin=subprocess.PIPE)
    time.sleep(1)
    check(proc.poll() is None, "a wake-up two minutes ahead keeps the helper of a user at a seat waiting")
    code, err, took = run([str(ahead)], enter)
    check(code == 5 and 2.5 < took < 6, f"a second alarm of the user: {code} {err!r} after {took:.1f} s")
    proc.stdin.close()  # the program cancelled the wake-up or ended
    check(proc.wait(5) == 0, "the closed pipe ends it at once")
    holder.kill()
    return check.code()


if __name__ == "__main__":
    sys.exit(main())
