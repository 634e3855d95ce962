// SPDX-License-Identifier: GPL-3.0-or-later
// The Win32 power, display and sleep-guard calls, pinned call by call against the recording table.
#include "platform/windows/Win32Power.h"
#include "platform/windows/Win32SleepGuard.h"
#include "platform/windows/testing/RecordingWin32Api.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using platform::win32::Win32Display;
using platform::win32::Win32SessionPower;
using platform::win32::testing::RecordingWin32Api;
using Calls = std::vector<std::string>;

namespace {

const Calls privilegeStep = {
    "GetVersionEx()",
    "GetCurrentProcess()",
    "OpenProcessToken(process, 0x20)",
    "LookupPrivilegeValueA(null, \"SeShutdownPrivilege\")",
    "AdjustTokenPrivileges(token, 0, {count 1, luid 0x13:0, attributes 2}, 0, null, null)",
    "CloseHandle(token)",
};

Calls Then(Calls calls, const std::string &last) {
    calls.push_back(last);
    return calls;
}

} // namespace

TEST(Win32SessionPower, LogOffOnNtTouchesNoTokenAndPassesFlagsZero) {
    RecordingWin32Api win;
    Win32SessionPower power(win.Api());
    EXPECT_TRUE(power.LogOff());
    EXPECT_EQ(win.calls, (Calls{"GetVersionEx()", "ExitWindowsEx(0, 0)"}));
}

TEST(Win32SessionPower, ShutDownOnNtEnablesThePrivilegeThenPowersOffWithFlags8) {
    RecordingWin32Api win;
    Win32SessionPower power(win.Api());
    EXPECT_TRUE(power.PowerOff());
    Calls expected = {"GetVersion()"};
    expected.insert(expected.end(), privilegeStep.begin(), privilegeStep.end());
    EXPECT_EQ(win.calls, Then(expected, "ExitWindowsEx(8, 0)"));
}

TEST(Win32SessionPower, ShutDownOn9xPassesFlags1WithNoTokenCalls) {
    RecordingWin32Api win;
    win.version = 0xC0000A04; // bit 31: the 9x family
    win.platformId = 1;
    Win32SessionPower power(win.Api());
    EXPECT_TRUE(power.PowerOff());
    EXPECT_EQ(win.calls, (Calls{"GetVersion()", "GetVersionEx()", "ExitWindowsEx(1, 0)"}));
}

TEST(Win32SessionPower, RestartPassesFlags2AfterThePrivilegeStepOnNtAndWithoutItOn9x) {
    RecordingWin32Api win;
    Win32SessionPower power(win.Api());
    EXPECT_TRUE(power.Reboot());
    EXPECT_EQ(win.calls, Then(privilegeStep, "ExitWindowsEx(2, 0)"));

    win.calls.clear();
    win.platformId = 1;
    EXPECT_TRUE(power.Reboot());
    EXPECT_EQ(win.calls, (Calls{"GetVersionEx()", "ExitWindowsEx(2, 0)"}));
}

TEST(Win32SessionPower, RefusedPrivilegeAdjustmentStopsBeforeExitWindowsAndAnswersFalse) {
    RecordingWin32Api win;
    win.adjustResult = 0;
    Win32SessionPower power(win.Api());
    EXPECT_FALSE(power.Reboot());
    EXPECT_EQ(win.calls, privilegeStep);
}

TEST(Win32SessionPower, FailedTokenOpenOrPrivilegeLookupStillAsksExitWindows) {
    RecordingWin32Api win;
    win.openTokenResult = 0;
    Win32SessionPower power(win.Api());
    EXPECT_TRUE(power.Reboot());
    EXPECT_EQ(win.calls, (Calls{"GetVersionEx()", "GetCurrentProcess()", "OpenProcessToken(process, 0x20)",
                                "ExitWindowsEx(2, 0)"}));

    RecordingWin32Api again;
    again.lookupResult = 0;
    again.exitResult = 0;
    Win32SessionPower refused(again.Api());
    EXPECT_FALSE(refused.Reboot());
    EXPECT_EQ(again.calls, (Calls{"GetVersionEx()", "GetCurrentProcess()", "OpenProcessToken(process, 0x20)",
                                  "LookupPrivilegeValueA(null, \"SeShutdownPrivilege\")", "CloseHandle(token)",
                                  "ExitWindowsEx(2, 0)"}));
}

TEST(Win32SessionPower, SleepRunsRundll32FromTheWindowsDirectoryReadWithSize254) {
    RecordingWin32Api win;
    Win32SessionPower power(win.Api());
    EXPECT_TRUE(power.Suspend());
    EXPECT_EQ(win.calls, (Calls{"GetWindowsDirectoryA(254)",
                                "WinExec(\"C:\\WINDOWS\\System32\\rundll32.exe powrprof.dll,SetSuspendState\", 1)"}));
    EXPECT_EQ(platform::win32::GetWindowsDir(win.Api()), "C:\\WINDOWS");

    win.winExecResult = 2; // ERROR_FILE_NOT_FOUND
    EXPECT_FALSE(power.Suspend());
}

TEST(Win32Display, MonitorOffSendsLParam1AndScreenSaverLParam0ToTheDesktopWindow) {
    RecordingWin32Api win;
    Win32Display display(win.Api());
    display.MonitorLowPower();
    display.StartScreenSaver();
    EXPECT_EQ(win.calls, (Calls{"GetDesktopWindow()", "SendMessageA(desktop, 0x0112, 61808, 1)", "GetDesktopWindow()",
                                "SendMessageA(desktop, 0x0112, 61760, 0)"}));
}

TEST(Win32SleepGuard, APowerRequestHoldsWithItsReasonUntilReleasedOrReplacedAndTheWakeTimerResumes) {
    RecordingWin32Api win;
    {
        platform::win32::Win32SleepGuard guard(win.Api());
        guard.Hold("Zindrel: заведён таймер, сработает в 10:40");
        guard.Hold("Zindrel: заведён таймер, сработает в 10:40"); // the same reason changes nothing
        guard.Hold("b");                                          // the old request goes once the new one holds
        guard.Release();
        guard.Release();
        // 2026-12-08 07:00:00 UTC, as 100-ns ticks since 1601.
        guard.WakeAt(1796713200, nullptr);
        guard.CancelWake();
        guard.Hold("c");
    }
    EXPECT_EQ(win.calls,
              (Calls{"PowerCreateRequest(\"Zindrel: заведён таймер, сработает в 10:40\")",
                     "PowerSetRequest(request, 1)", "PowerCreateRequest(\"b\")", "PowerSetRequest(request, 1)",
                     "PowerClearRequest(request, 1)", "CloseHandle(request)", "PowerClearRequest(request, 1)",
                     "CloseHandle(request)", "CreateWaitableTimerA(null, 1, null)",
                     "SetWaitableTimer(timer, 134411868000000000, 0, 1)", "CancelWaitableTimer(timer)",
                     "PowerCreateRequest(\"c\")", "PowerSetRequest(request, 1)", "PowerClearRequest(request, 1)",
                     "CloseHandle(request)", "CancelWaitableTimer(timer)", "CloseHandle(timer)"}));
}

TEST(Win32SleepGuard, WithoutPowerRequestsTheThreadExecutionStateHolds) {
    RecordingWin32Api win;
    win.powerRequests = false;
    win.Refill();
    platform::win32::Win32SleepGuard guard(win.Api());
    guard.Hold("a");
    guard.Hold("b");
    guard.Release();
    EXPECT_EQ(win.calls, (Calls{"SetThreadExecutionState(0x80000001)", "SetThreadExecutionState(0x80000000)"}));
}
