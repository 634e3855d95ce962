# SPDX-License-Identifier: GPL-3.0-or-later
"""zindrel-wake, the helper that holds the alarm clock's wake alarm: it refuses every argument but one time from a
minute to two days ahead, says why on stderr and ends at once (code 2); it serves only a user whose logind record
says they sit at a seat (code 4 for anyone else: an ssh login, a service, a record another user could have written);
it holds one alarm per user (a second waits three seconds for the first to end, then gives up with code 5); given
such a time it holds the alarm timer until the time passes or its input closes; without cap_wake_alarm it ends with
code 3 and says so.

The session checks run the helper in a mount namespace of its own whose /run is an empty tmpfs holding the record
logind would write (/run/systemd/users/<uid>) and the user's runtime folder: this machine's logind, if any, is never
asked or changed. That needs root (to mount); without it only the argument checks run."""

import os
import shlex
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from fixture import Checks, skip  # noqa: E402

check = Checks()
AT_A_SEAT = "STATE=active\nRUNTIME=/run/user/{uid}\nACTIVE_SESSIONS=2\nONLINE_SEATS=seat0\nACTIVE_SEATS=seat0\n"
SSH_LOGIN = "STATE=active\nRUNTIME=/run/user/{uid}\nACTIVE_SESSIONS=4\nONLINE_SESSIONS=4\n"  # no seat: remote
NOBODY = 65534


class PrivateRun:
    """A mount namespace kept by a sleeping shell whose /run is an empty tmpfs holding logind's record of one user
    (with the given mode) and that user's runtime folder; helpers enter it with nsenter."""

    def __init__(self, record, uid=0, mode="644"):
        path = f"/run/systemd/users/{uid}"
        self.uid = uid
        self.script = (f"mount -t tmpfs none /run && mkdir -p /run/systemd/users /run/user/{uid} && "
                       f"chown {uid} /run/user/{uid} && chmod 700 /run/user/{uid} && "
                       f"printf %s {shlex.quote(record.format(uid=uid))} > {path} && chmod {mode} {path} && "
                       "echo ready && exec sleep 600")

    def __enter__(self):
        self.holder = subprocess.Popen(["unshare", "--mount", "--propagation", "private", "sh", "-c", self.script],
                                       stdout=subprocess.PIPE, text=True)
        if self.holder.stdout.readline().strip() != "ready":
            raise RuntimeError("the private /run could not be made")
        return self

    def __exit__(self, *exc):
        self.holder.kill()
        self.holder.wait()
        return False

    def command(self, args, prefix=()):
        as_user = ["setpriv", f"--reuid={self.uid}", f"--regid={self.uid}", "--clear-groups"] if self.uid else []
        return ["nsenter", f"--mount=/proc/{self.holder.pid}/ns/mnt", *as_user, *prefix, *helper(args)]


def helper(args):
    return [os.environ["ZINDREL_WAKE_HELPER"], *args]


def run(argv):
    """Runs the helper with its input an open pipe; returns its code, its stderr and how long it ran."""
    started, (read_end, write_end) = time.monotonic(), os.pipe()
    try:
        proc = subprocess.run(argv, stdin=read_end, capture_output=True, text=True, timeout=10)
        code, err = proc.returncode, proc.stderr.strip()
    except subprocess.TimeoutExpired:
        code, err = None, "still waiting after 10 s"
    os.close(read_end)
    os.close(write_end)
    return code, err, time.monotonic() - started


def hold(argv):
    """A helper left running with an open pipe to close."""
    return subprocess.Popen(argv, stdin=subprocess.PIPE, stderr=subprocess.PIPE, text=True)


def check_held_alarms(ahead):
    """A helper holds its alarm until its input closes; a second of the same user is refused after waiting for the
    first, and takes over when the first ends within its wait, as when the program re-arms."""
    with PrivateRun(AT_A_SEAT) as at_seat:
        first = hold(at_seat.command([str(ahead)]))
        time.sleep(1)
        check(first.poll() is None, "a wake-up two minutes ahead keeps the helper of a user at a seat waiting")
        code, err, took = run(at_seat.command([str(ahead)]))
        check(code == 5 and "another wake alarm" in err and 2.5 < took < 6, f"a second alarm: {code} {err!r} {took}")
        second = hold(at_seat.command([str(ahead)]))
        time.sleep(0.5)
        first.stdin.close()  # the program cancelled the wake-up or ended
        check(first.wait(5) == 0, f"the closed pipe ends the first at once: {first.stderr.read()!r}")
        time.sleep(1)
        check(second.poll() is None, f"the second took over the user's alarm: {second.poll()}")
        second.stdin.close()
        check(second.wait(5) == 0, f"and ends with its pipe: {second.stderr.read()!r}")


def main():
    if not os.access(os.environ.get("ZINDREL_WAKE_HELPER", ""), os.X_OK):
        skip("ZINDREL_WAKE_HELPER is not built")
    now = int(time.time())
    ahead = now + 120
    for args in ([], [str(ahead)] * 2, [""], ["abc"], ["-5"], [f"+{ahead}"], [f"{ahead}x"], [f" {ahead}"],
                 ["0x7fffffff"], [str(now - 1)], ["1"], [str(now + 30)], [str(now + 3 * 24 * 3600)], ["9" * 40]):
        code, err, took = run(helper(args))
        check(code == 2 and err.startswith("zindrel-wake: ") and took < 2, f"{args!r} refused: {code} {err!r}")
    if os.getuid() != 0:
        print("not root: the session and capability checks need a private /run, which only root can mount")
        return check.code()
    # Logind's view of the caller: a user logged out, a remote login, a record anyone may write: refused, code 4.
    for record, mode in (("NAME=root\nSTATE=closing\n", "644"), (SSH_LOGIN, "644"), (AT_A_SEAT, "666")):
        with PrivateRun(record, mode=mode) as private:
            code, err, took = run(private.command([str(ahead)]))
        check(code == 4 and "no active session at a seat" in err and took < 2, f"{record!r} {mode}: {code} {err!r}")
    with PrivateRun(SSH_LOGIN, uid=NOBODY) as private:
        code, err, _ = run(private.command([str(ahead)]))
    check(code == 4, f"another user without a seat refused: {code} {err!r}")
    # A user at a seat passes the policy; a build without the capability (any user's copy before the package's
    # setcap, or root without it in its bounding set) then ends with code 3.
    with PrivateRun(AT_A_SEAT, uid=NOBODY) as private:
        code, err, _ = run(private.command([str(ahead)]))
    check(code == 3 and "cap_wake_alarm" in err, f"a user at a seat, no capability: {code} {err!r}")
    with PrivateRun(AT_A_SEAT) as private:
        code, err, _ = run(private.command([str(ahead)], ("setpriv", "--bounding-set", "-wake_alarm")))
    check(code == 3 and "cap_wake_alarm" in err, f"without cap_wake_alarm: {code} {err!r}")
    check_held_alarms(ahead)
    return check.code()


if __name__ == "__main__":
    sys.exit(main())
