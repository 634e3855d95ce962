// SPDX-License-Identifier: GPL-3.0-or-later
// One program per session on Windows against the recording table: the session mutex, the marked main window, and a
// command handed over by WM_COPYDATA with the running program's answer sent back.
#include "platform/windows/Win32Instance.h"
#include "platform/windows/testing/RecordingWin32Api.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <string>
#include <vector>

using platform::CommandAnswer;
using platform::Instance;
using platform::win32::CopyData;
using platform::win32::HWND;
using platform::win32::LPARAM;
using platform::win32::LRESULT;
using platform::win32::UINT;
using platform::win32::Win32Instance;
using platform::win32::WPARAM;
using platform::win32::testing::RecordingWin32Api;
using platform::win32::testing::Window;
using Calls = std::vector<std::string>;

TEST(Win32Instance, TheFirstStartOwnsTheSessionMutexALaterOneFindsItAndWithoutOneRunsAlone) {
    RecordingWin32Api win;
    Win32Instance first(win.Api(), nullptr);
    EXPECT_EQ(first.Claim({}), Instance::Role::First);
    EXPECT_EQ(win.calls, (Calls{"CreateMutexA(null, 0, \"Local\\org.example.zindrel\")"}));
    first.SetMainWindow(0x100);
    EXPECT_EQ(win.calls.back(), "SetPropA(0x100, \"org.example.zindrel\", 0x1)");
    win.topWindows = {Window(0x100)};
    win.lastError = 183;
    win.calls.clear();
    Win32Instance second(win.Api(), nullptr);
    EXPECT_EQ(second.Claim({}), Instance::Role::Second);
    EXPECT_EQ(win.calls, (Calls{"CreateMutexA(null, 0, \"Local\\org.example.zindrel\")", "EnumWindows()",
                                "GetPropA(0x100, \"org.example.zindrel\")"}))
        << "the running program's window found: no wait";
    win.mutexResult = nullptr;
    Win32Instance alone(win.Api(), nullptr);
    EXPECT_EQ(alone.Claim({}), Instance::Role::Alone);
}

TEST(Win32Instance, ACommandGoesToTheMarkedWindowAndItsAnswerComesBack) {
    RecordingWin32Api win;
    std::vector<std::string> received;
    Win32Instance first(win.Api(), nullptr);
    first.Claim({[&received](const std::vector<std::string> &arguments) {
                     received = arguments;
                     return CommandAnswer{1, "state=stopped mode=alarm task=remind"};
                 },
                 nullptr, nullptr});
    first.SetMainWindow(0x100);
    win.lastError = 183;
    Win32Instance second(win.Api(), [] { return Window(0x200); });
    ASSERT_EQ(second.Claim({}), Instance::Role::Second);
    win.topWindows = {Window(0x50), Window(0x100), Window(0x300)};
    win.deliver = [&](HWND to, UINT, WPARAM from, LPARAM data) {
        LRESULT result = 0;
        Win32Instance &target = to == Window(0x100) ? first : second;
        EXPECT_TRUE(target.Receive(from, *reinterpret_cast<const CopyData *>(data), result));
        return result;
    };
    win.calls.clear();
    const CommandAnswer answer = second.Send({"--in", "5", "--do", "poweroff"});
    EXPECT_EQ(received, (std::vector<std::string>{"--in", "5", "--do", "poweroff"}));
    EXPECT_EQ(answer.code, 1);
    EXPECT_EQ(answer.text, "state=stopped mode=alarm task=remind");
    EXPECT_EQ(
        win.calls,
        (Calls{"EnumWindows()", "GetPropA(0x50, \"org.example.zindrel\")", "GetPropA(0x100, \"org.example.zindrel\")",
               "SendMessageTimeoutA(0x100, 0x004A, 0x200, {0x5A4E4401, \"--in|5|--do|poweroff|\"}, 2, 30000)",
               "SendMessageTimeoutA(0x200, 0x004A, 0x100, {0x5A4E4402, \"state=stopped mode=alarm task=remind\"}, "
               "2, 1000)"}));
    LRESULT result = 0;
    EXPECT_FALSE(first.Receive(0, CopyData{0x1234, 0, nullptr}, result)) << "another program's copy data";
}

TEST(Win32Instance, AStartWhileTheProgramQuitsWaitsForTheMutexToGoAndBecomesTheProgram) {
    RecordingWin32Api win;
    Win32Instance first(win.Api(), nullptr);
    first.Claim({[](const std::vector<std::string> &) { return CommandAnswer{}; }, nullptr, nullptr});
    first.SetMainWindow(0x100);
    win.calls.clear();
    first.Leave();
    EXPECT_EQ(win.calls, (Calls{"RemovePropA(0x100, \"org.example.zindrel\")", "CloseHandle(0x3C)"}));
    win.mutexErrors = {183, 183, 183, 0}; // its process ends after three tries
    Win32Instance next(win.Api(), nullptr);
    EXPECT_EQ(next.Claim({}), Instance::Role::First);
    EXPECT_EQ(std::count(win.calls.begin(), win.calls.end(), "Sleep(100)"), 3);
}

TEST(Win32Instance, WithoutAWindowOrItsAnswerASendSaysNoProgramAndOutputGoesWhereThePromptSentIt) {
    RecordingWin32Api win;
    Win32Instance second(win.Api(), nullptr);
    EXPECT_EQ(second.Send({"--status"}).code, platform::CommandNoProgram);
    EXPECT_EQ(std::count(win.calls.begin(), win.calls.end(), "Sleep(100)"), 49);
    win.props[Window(0x100)]["org.example.zindrel"] = Window(1);
    win.topWindows = {Window(0x100)};
    win.deliver = [](HWND, UINT, WPARAM, LPARAM) { return LRESULT{0}; }; // returned, never answered
    EXPECT_EQ(second.Send({"--status"}).code, platform::CommandNoProgram);
    win.stdHandles = {{-11u, Window(0xF1)}, {-12u, Window(0xF2)}}; // > s.txt 2> e.txt: no console, UTF-8 bytes
    win.calls.clear();
    second.AttachOutput();
    second.Print(false, "state=stopped");
    EXPECT_EQ(win.calls, (Calls{"WriteFile(0xF1, \"state=stopped\r\n\")"}));
    RecordingWin32Api typed; // in a prompt: its console in UTF-16, let go before the program runs on
    Win32Instance prompt(typed.Api(), nullptr);
    prompt.AttachOutput();
    prompt.Print(true, "zindrel: не запущена");
    prompt.ReleaseOutput();
    EXPECT_EQ(typed.calls, (Calls{"AttachConsole(0xFFFFFFFF)", "CreateFileA(\"CONOUT$\", 0xC0000000, 3, 3)",
                                  "WriteConsoleW(0xC0, 22)", "CloseHandle(0xC0)", "FreeConsole()"}));
}
