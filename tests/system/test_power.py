# SPDX-License-Identifier: GPL-3.0-or-later
"""The real power and display backends against dbusmock's logind, a mocked session manager and screen saver,
and Xvfb; every call lands on the fixture's private buses."""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from fixture import Checks, Fixture  # noqa: E402

check = Checks()


def gtest(fx, name):
    check(fx.run_system_tests(f"RealPower.{name}") == 0, f"gtest RealPower.{name}")


def main():
    with Fixture("power", logind=True) as fx:
        session = fx.add_session_manager()
        saver = fx.add_screensaver()
        gtest(fx, "LogindAcceptsShutdownRebootAndSleep")
        for method in ("PowerOff", "Reboot", "Suspend"):
            calls = fx.logind.method_calls(method)
            check(calls == [[True]], f"logind {method}: exactly one call with interactive = true, got {calls}")
        fx.logind.clear_calls()

        gtest(fx, "LogOffReachesTheSessionManager")
        calls = session.method_calls("Logout")
        check(calls == [[1]], f"session manager Logout: one call with mode 1 (no dialog), got {calls}")
        check(fx.logind.calls() == [], f"log-off answered by the session manager leaves logind alone: {fx.logind.calls()}")

        gtest(fx, "ScreenSaverGoesThroughTheSessionService")
        calls = saver.method_calls("SetActive")
        check(calls == [[True]], f"org.freedesktop.ScreenSaver SetActive: one call with true, got {calls}")

    with Fixture("power-logind", xvfb=False, logind=True) as fx:
        session = {"XDG_SESSION_ID": "c7", "QT_QPA_PLATFORM": "offscreen"}
        check(fx.run_system_tests("RealPower.LogOffIsAccepted", extra_env=session) == 0, "gtest log-off through logind")
        calls = fx.logind.method_calls("TerminateSession")
        check(calls == [["c7"]], f"with no session manager logind TerminateSession ends $XDG_SESSION_ID, got {calls}")
        fx.logind.clear_calls()

        xfce = fx.add_mock("org.xfce.SessionManager", "/org/xfce/SessionManager", "org.xfce.Session.Manager")
        xfce.add_method("Logout", "bb", "", "")
        check(fx.run_system_tests("RealPower.LogOffIsAccepted", extra_env=session) == 0, "gtest log-off through Xfce")
        calls = xfce.method_calls("Logout")
        check(calls == [[False, True]], f"Xfce Logout(show_dialog = false, allow_save = true), got {calls}")
        check(fx.logind.calls() == [], f"an answering session manager leaves logind alone: {fx.logind.calls()}")

    with Fixture("power-bare") as fx:
        gtest(fx, "WithoutLogindTheOperationsFailQuietlyAndTheMainWindowStillCloses")
        gtest(fx, "ScreenSaverFallsBackToTheXServer")
        gtest(fx, "MonitorOffWithoutDpmsLeavesOneLine")

    return check.code()


if __name__ == "__main__":
    sys.exit(main())
