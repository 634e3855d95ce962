// SPDX-License-Identifier: GPL-3.0-or-later
// The Win32 lock keys, Pause watch, wave and tone calls and the speaker's port bytes, against the recording table.
#include "platform/windows/Win32Keyboard.h"
#include "platform/windows/Win32Sound.h"
#include "platform/windows/testing/RecordingWin32Api.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using platform::win32::Win32Audio;
using platform::win32::Win32KeyState;
using platform::win32::Win32LockKeys;
using platform::win32::testing::RecordingWin32Api;
using Calls = std::vector<std::string>;

TEST(Win32LockKeys, AnyNonZeroByteOfTheKeyboardTableReadsAsOn) {
    RecordingWin32Api win;
    Win32LockKeys keys(win.Api());
    win.keyboard[0x90] = 0x01; // toggled
    win.keyboard[0x14] = 0x80; // held down, not toggled
    EXPECT_TRUE(keys.IsOn(platform::VK_NUMLOCK_CODE));
    EXPECT_TRUE(keys.IsOn(platform::VK_CAPITAL_CODE));
    EXPECT_FALSE(keys.IsOn(platform::VK_SCROLL_CODE));
    EXPECT_EQ(win.calls, (Calls(3, "GetKeyboardState()")));
}

TEST(Win32LockKeys, On9xTheTableIsWrittenBackWithOneOrZeroAtTheKey) {
    RecordingWin32Api win;
    win.platformId = 1;
    win.keyboard[0x14] = 0x81;
    win.keyboard[0x41] = 0x80;
    Win32LockKeys keys(win.Api());

    keys.Set(platform::VK_SCROLL_CODE, true);
    EXPECT_EQ(win.calls, (Calls{"GetVersionEx()", "GetKeyboardState()", "SetKeyboardState()"}));
    EXPECT_EQ(win.keyboardWritten[0x91], 1);
    EXPECT_EQ(win.keyboardWritten[0x14], 0x81);
    EXPECT_EQ(win.keyboardWritten[0x41], 0x80);

    keys.Set(platform::VK_CAPITAL_CODE, false);
    EXPECT_EQ(win.keyboardWritten[0x14], 0);
}

TEST(Win32LockKeys, OnNtADifferingLockGetsExtendedPressAndReleaseWithScanCode45) {
    RecordingWin32Api win;
    Win32LockKeys keys(win.Api());
    keys.Set(platform::VK_NUMLOCK_CODE, true);
    EXPECT_EQ(win.calls, (Calls{"GetVersionEx()", "GetKeyboardState()", "keybd_event(0x90, 0x45, 1, 0)",
                                "keybd_event(0x90, 0x45, 3, 0)"}));

    win.calls.clear();
    win.keyboard[0x91] = 1;
    keys.Set(platform::VK_SCROLL_CODE, false);
    EXPECT_EQ(win.calls, (Calls{"GetVersionEx()", "GetKeyboardState()", "keybd_event(0x91, 0x45, 1, 0)",
                                "keybd_event(0x91, 0x45, 3, 0)"}));
}

TEST(Win32LockKeys, OnNtAMatchingLockAndOnAnyOtherPlatformNothingIsSent) {
    RecordingWin32Api win;
    win.keyboard[0x14] = 1;
    Win32LockKeys keys(win.Api());
    keys.Set(platform::VK_CAPITAL_CODE, true);
    keys.Set(platform::VK_NUMLOCK_CODE, false);
    EXPECT_EQ(win.calls, (Calls{"GetVersionEx()", "GetKeyboardState()", "GetVersionEx()", "GetKeyboardState()"}));

    win.calls.clear();
    win.platformId = 0; // Win32s
    keys.Set(platform::VK_NUMLOCK_CODE, true);
    EXPECT_EQ(win.calls, (Calls{"GetVersionEx()"}));
}

TEST(Win32KeyState, PauseCountsWhenItsAsyncStateIsNonZero) {
    RecordingWin32Api win;
    Win32KeyState keys(win.Api());
    EXPECT_FALSE(keys.PausePressed());
    win.asyncKeyState = 1; // pressed since the last query
    EXPECT_TRUE(keys.PausePressed());
    win.asyncKeyState = static_cast<platform::win32::SHORT>(0x8000);
    EXPECT_TRUE(keys.PausePressed());
    EXPECT_EQ(win.calls, (Calls(3, "GetAsyncKeyState(0x13)")));
}

TEST(Win32Audio, WaveFilesPlaySynchronouslyByFileNameWithTheDefaultSoundAllowed) {
    RecordingWin32Api win;
    Win32Audio audio(win.Api());
    EXPECT_TRUE(audio.PlayFile("C:\\Звуки\\alarm.wav"));
    win.soundResult = 0;
    EXPECT_FALSE(audio.PlayFile(""));
    EXPECT_EQ(win.calls, (Calls{"sndPlaySoundA(\"C:\\Звуки\\alarm.wav\", 0x20000)", "sndPlaySoundA(\"\", 0x20000)"}));
}

TEST(Win32Audio, TonesOnNtAreBeeps) {
    RecordingWin32Api win;
    Win32Audio audio(win.Api());
    EXPECT_TRUE(audio.PlayTone(120, 100));
    EXPECT_EQ(win.calls, (Calls{"GetVersionEx()", "Beep(120, 100)"}));
}

TEST(Win32Audio, TonesOn9xProgramTheSpeakerWith120HzAsDivisorBytesD7Then26) {
    RecordingWin32Api win;
    win.platformId = 1;
    win.ports[0x61] = 0x30;
    Win32Audio audio(win.Api());
    EXPECT_TRUE(audio.PlayTone(120, 100));
    EXPECT_EQ(win.calls,
              (Calls{"GetVersionEx()", "Inp32(0x61)", "Out32(0x61, 0x33)", "Out32(0x43, 0xB6)", "Out32(0x42, 0xD7)",
                     "Out32(0x42, 0x26)", "Sleep(100)", "Inp32(0x61)", "Out32(0x61, 0x30)"}));
}

TEST(Win32Speaker, ARunningSpeakerOnlyGetsTheNewDivisorAndLowFrequenciesChangeNothing) {
    RecordingWin32Api win;
    win.ports[0x61] = 0x01;
    platform::win32::SpeakerOn(win.Api(), 1000); // 1193181 / 1000 = 1193 = 0x04A9
    EXPECT_EQ(win.calls, (Calls{"Inp32(0x61)", "Out32(0x42, 0xA9)", "Out32(0x42, 0x04)"}));

    win.calls.clear();
    platform::win32::SpeakerOn(win.Api(), 18);
    platform::win32::SpeakerOn(win.Api(), 0);
    EXPECT_TRUE(win.calls.empty());

    win.ports[0x61] = 0xFF;
    platform::win32::SpeakerOff(win.Api());
    EXPECT_EQ(win.calls, (Calls{"Inp32(0x61)", "Out32(0x61, 0xFC)"}));
}
