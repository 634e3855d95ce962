// SPDX-License-Identifier: GPL-3.0-or-later
// The Win32 door strings, player messages, launcher, shell, registry and version calls against the recording table.
#include "platform/windows/Win32Extras.h"
#include "platform/windows/Win32FileMove.h"
#include "platform/windows/Win32Shell.h"
#include "platform/windows/testing/RecordingWin32Api.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

using platform::PlayerCommand;
using platform::win32::HWND;
using platform::win32::testing::RecordingWin32Api;
using platform::win32::testing::Window;
using Calls = std::vector<std::string>;

namespace {

const char *const explorerKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer";
const char *const shellFoldersKey = "Software\\MicroSoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

std::vector<platform::win32::BYTE> Bytes(const std::string &text) {
    return {text.begin(), text.end()};
}

} // namespace

TEST(Win32CdDrive, DoorStringsWaitAndNameTheMainWindowAsCallback) {
    RecordingWin32Api win;
    platform::win32::Win32CdDrive drive(win.Api());
    drive.SetCallbackWindow(Window(0x5E0));
    drive.OpenDoor();
    drive.CloseDoor();
    EXPECT_EQ(win.calls, (Calls{"mciSendStringA(\"Set cdaudio door open wait\", null, 0, 0x5E0)",
                                "mciSendStringA(\"Set cdaudio door closed wait\", null, 0, 0x5E0)"}));
}

TEST(Win32MediaPlayer, FindsByClassAndSendsTheCommandAndVolumeMessages) {
    RecordingWin32Api win;
    platform::win32::Win32MediaPlayer player(win.Api());
    EXPECT_EQ(player.Find("Winamp v1.x"), 0u);
    win.foundWindow = Window(0x3B4);
    const std::uintptr_t found = player.Find("Winamp v1.x");
    EXPECT_EQ(found, 0x3B4u);
    win.calls.clear();

    player.Command(found, PlayerCommand::PrevTrack);
    player.Command(found, PlayerCommand::PlayPause);
    player.Command(found, PlayerCommand::StopPlay);
    player.Command(found, PlayerCommand::NextTrack);
    player.SetVolume(found, 255);
    player.SetVolume(found, 0);
    player.Command(found, PlayerCommand::Close);
    EXPECT_EQ(win.calls, (Calls{"SendMessageA(0x3B4, 0x0111, 40044, 0)", "SendMessageA(0x3B4, 0x0111, 40046, 0)",
                                "SendMessageA(0x3B4, 0x0111, 40047, 0)", "SendMessageA(0x3B4, 0x0111, 40048, 0)",
                                "SendMessageA(0x3B4, 0x0400, 255, 122)", "SendMessageA(0x3B4, 0x0400, 0, 122)",
                                "SendMessageA(0x3B4, 0x0111, 40001, 0)"}));
}

TEST(Win32MediaPlayer, StartsMinimisedWithTheQuotedClassAndSucceedsAbove32) {
    RecordingWin32Api win;
    platform::win32::Win32MediaPlayer player(win.Api());
    EXPECT_TRUE(player.Start("C:\\Program Files\\WinAmp\\WinAmp2sss.exe", "Winamp v1.x"));
    EXPECT_EQ(win.calls, (Calls{"ShellExecuteA(null, null, \"C:\\Program Files\\WinAmp\\WinAmp2sss.exe\", "
                                "\"/CLASS=\"Winamp v1.x\"\", null, 6)"}));
    win.shellExecuteResult = 32;
    EXPECT_FALSE(player.Start("x.exe", "Winamp v1.x"));
    win.shellExecuteResult = 33;
    EXPECT_TRUE(player.Start("x.exe", "Winamp v1.x"));
}

TEST(Win32MediaPlayer, AliveOnlyWhileTheWindowExists) {
    RecordingWin32Api win;
    platform::win32::Win32MediaPlayer player(win.Api());
    EXPECT_FALSE(player.IsAlive(0));
    EXPECT_TRUE(player.IsAlive(0x3B4));
    win.isWindowResult = 0;
    EXPECT_FALSE(player.IsAlive(0x3B4));
    EXPECT_EQ(win.calls, (Calls{"IsWindow(0x3B4)", "IsWindow(0x3B4)"}));
}

TEST(Win32Launcher, EachEntryIsWinExecShowNormal) {
    RecordingWin32Api win;
    platform::win32::Win32Launcher launcher(win.Api());
    EXPECT_TRUE(launcher.Start("notepad.exe C:\\todo.txt"));
    win.winExecResult = 0;
    EXPECT_FALSE(launcher.Start("missing.exe"));
    EXPECT_EQ(win.calls, (Calls{"WinExec(\"notepad.exe C:\\todo.txt\", 1)", "WinExec(\"missing.exe\", 1)"}));
}

TEST(Win32Launcher, APickedProgramWithABlankIsQuotedAndProgramsAreExeFiles) {
    RecordingWin32Api win;
    platform::win32::Win32Launcher launcher(win.Api());
    EXPECT_EQ(launcher.ProgramCommandLine("C:\\Program Files\\a&b.exe"), "\"C:\\Program Files\\a&b.exe\"");
    EXPECT_EQ(launcher.ProgramCommandLine("C:\\Tools\\a&b.exe"), "C:\\Tools\\a&b.exe") << "WinExec runs no shell";
    EXPECT_EQ(launcher.Programs().pattern, "*.exe");
    EXPECT_FALSE(launcher.Programs().executableOnly);
}

TEST(Win32Desktop, OpensTargetsHiddenThroughTheOwnerWindow) {
    RecordingWin32Api win;
    platform::win32::Win32Desktop desktop(win.Api());
    desktop.SetOwnerWindow(Window(0x1F0));
    EXPECT_TRUE(desktop.OpenTarget("mailto:zindrel@example.org"));
    win.shellExecuteResult = 31; // SE_ERR_NOASSOC
    EXPECT_FALSE(desktop.OpenTarget("https://zindrel.example.org/"));
    EXPECT_EQ(win.calls, (Calls{"ShellExecuteA(0x1F0, \"open\", \"mailto:zindrel@example.org\", null, null, 0)",
                                "ShellExecuteA(0x1F0, \"open\", \"https://zindrel.example.org/\", null, null, 0)"}));
}

TEST(Win32Desktop, ShortcutGoesToTheDesktopShellFolderAsUtf16) {
    RecordingWin32Api win;
    win.registry[shellFoldersKey]["Desktop"] = "C:\\Users\\Иван\\Desktop";
    platform::win32::Win32Desktop desktop(win.Api());
    EXPECT_TRUE(desktop.MakeShortcut("C:\\Zindrel\\zindrel.exe", "C:\\Zindrel\\", "Zindrel", "png"));
    EXPECT_EQ(win.calls.front(),
              "RegCreateKeyExA(HKCU, \"" + std::string(shellFoldersKey) + "\", 0, null, 0, 0x20019, null)");
    EXPECT_EQ(win.calls.back(), "SaveShellLink(\"C:\\Zindrel\\zindrel.exe\", \"C:\\Zindrel\\\")");
    EXPECT_EQ(win.savedLinkPath, u"C:\\Users\\Иван\\Desktop\\Zindrel.lnk");
}

TEST(Win32Desktop, MissingDesktopValueGivesARootPathAndAFailedSaveIsReported) {
    RecordingWin32Api win;
    win.saveLinkResult = 0;
    platform::win32::Win32Desktop desktop(win.Api());
    EXPECT_FALSE(desktop.MakeShortcut("C:\\Zindrel\\zindrel.exe", "C:\\Zindrel\\", "Zindrel", ""));
    EXPECT_EQ(win.savedLinkPath, u"\\Zindrel.lnk");
}

TEST(Win32Utf16, MultiByteAndFourByteSequencesConvertAndMalformedBytesBecomeReplacements) {
    EXPECT_EQ(platform::win32::Utf8ToUtf16("Zindrel"), u"Zindrel");
    EXPECT_EQ(platform::win32::Utf8ToUtf16("Ж€😀"), u"Ж€😀");
    EXPECT_EQ(platform::win32::Utf8ToUtf16("a\xC6"), u"a\uFFFD");
    EXPECT_EQ(platform::win32::Utf8ToUtf16("\xC0\xAF"), u"\uFFFD\uFFFD");
    EXPECT_EQ(platform::win32::Utf8ToUtf16("\xED\xA0\x80z"), u"\uFFFD\uFFFD\uFFFDz");
}

TEST(Win32FileMove, ASharingViolationIsWaitedOutForAboutASecond) {
    using platform::win32::ERROR_SHARING_VIOLATION_CODE;
    const Calls attempt{"MoveFileExW(0x9)", "Sleep(50)"};
    RecordingWin32Api win;
    win.moveErrors = {ERROR_SHARING_VIOLATION_CODE, platform::win32::ERROR_ACCESS_DENIED_CODE};
    EXPECT_TRUE(platform::win32::MoveOver(win.Api(), u"zindrel.ini.tmp.Ab12Cd", u"zindrel.ini"));
    EXPECT_EQ(win.calls, (Calls{attempt[0], attempt[1], attempt[0], attempt[1], attempt[0]}));

    win.calls.clear();
    win.moveErrors.assign(25, ERROR_SHARING_VIOLATION_CODE);
    EXPECT_FALSE(platform::win32::MoveOver(win.Api(), u"a.tmp", u"a"));
    EXPECT_EQ(win.calls.size(), 39u) << "20 tries, 19 pauses of 50 ms";
}

TEST(Win32System, LogonUserNameIsReadFromTheExplorerKeyOpenedWithCreation) {
    RecordingWin32Api win;
    win.registry[explorerKey]["Logon User Name"] = "Пётр Иванов";
    platform::win32::Win32System system(win.Api());
    EXPECT_EQ(system.LogonUserName(), "Пётр Иванов");
    const std::string open = "RegCreateKeyExA(HKCU, \"" + std::string(explorerKey) + "\", 0, null, 0, 0x20019, null)";
    EXPECT_EQ(win.calls, (Calls{open, "RegQueryValueExA(key, \"Logon User Name\", null)",
                                "RegQueryValueExA(key, \"Logon User Name\", data)", "RegCloseKey(key)"}));
}

TEST(Win32System, MissingValueOrUnopenableKeyGivesAnEmptyName) {
    RecordingWin32Api win;
    platform::win32::Win32System system(win.Api());
    EXPECT_EQ(system.LogonUserName(), "");
    EXPECT_EQ(win.calls.back(), "RegCloseKey(key)");

    win.registry[explorerKey]["Logon User Name"] = "anna";
    win.refusedKeys.push_back(explorerKey);
    win.calls.clear();
    EXPECT_EQ(system.LogonUserName(), "");
    EXPECT_EQ(win.calls.size(), 1u);
}

TEST(Win32System, FoldersComeFromTheModulePathAndTheWindowsDirectory) {
    RecordingWin32Api win;
    platform::win32::Win32System system(win.Api());
    EXPECT_EQ(system.ExecutablePath(), "C:\\Program Files\\Zindrel\\zindrel.exe");
    EXPECT_EQ(system.ProgramFolder(), "C:\\Program Files\\Zindrel\\");
    win.modulePath = "D:zindrel.exe";
    EXPECT_EQ(system.ProgramFolder(), "D:");
    EXPECT_EQ(system.ConfigFolder(), "C:\\WINDOWS\\");

    win.modulePath = "C:\\" + std::string(400, 'z') + ".exe";
    EXPECT_EQ(system.ExecutablePath(), win.modulePath);
}

TEST(Win32System, AFolderThatTakesNoFileGivesWayToTheUsersOwn) {
    const std::string program = "C:\\Program Files\\Zindrel\\";
    const std::string own = "C:\\Users\\anna\\AppData\\Roaming\\Zindrel\\";
    const struct {
        const char *what;
        std::vector<std::string> unwritable;
        platform::win32::LONG appDataResult;
        std::string programFolder;
        std::string configFolder;
    } cases[] = {
        {"both writable", {}, 0, program, "C:\\WINDOWS\\"},
        {"program folder not writable", {program}, 0, own, "C:\\WINDOWS\\"},
        {"Windows folder not writable", {"C:\\WINDOWS\\"}, 0, program, own},
        {"neither writable", {program, "C:\\WINDOWS\\"}, 0, own, own},
        {"no %APPDATA% to go to", {program, "C:\\WINDOWS\\"}, 1, program, "C:\\WINDOWS\\"},
    };
    for (const auto &c : cases) {
        RecordingWin32Api win;
        win.unwritableFolders = c.unwritable;
        win.appDataResult = c.appDataResult;
        platform::win32::Win32System system(win.Api());
        EXPECT_EQ(system.ProgramFolder(), c.programFolder) << c.what;
        EXPECT_EQ(system.ConfigFolder(), c.configFolder) << c.what;
    }

    RecordingWin32Api win;
    win.unwritableFolders = {program};
    platform::win32::Win32System system(win.Api());
    system.ProgramFolder();
    const std::string probe = "CreateFileW(\"" + program + "zindrel_write_check.tmp\", 0x40000000, 0x7, 4, 0x4000100)";
    EXPECT_EQ(win.calls, (Calls{"GetModuleFileNameA(null, 260)", probe, "SHGetFolderPath(0x1A)",
                                "CreateDirectoryW(\"" + own + "\")"}));
    // The answer is kept for that folder: settings are read and written often, and each probe makes a file.
    win.calls.clear();
    EXPECT_EQ(system.ProgramFolder(), own);
    EXPECT_EQ(win.calls, Calls{"GetModuleFileNameA(null, 260)"});

    win.unwritableFolders.clear();
    win.calls.clear();
    EXPECT_EQ(system.ConfigFolder(), "C:\\WINDOWS\\");
    EXPECT_EQ(win.calls, (Calls{"GetWindowsDirectoryA(254)",
                                "CreateFileW(\"C:\\WINDOWS\\zindrel_write_check.tmp\", "
                                "0x40000000, 0x7, 4, 0x4000100)",
                                "CloseHandle(file)"}));
}

TEST(Win32System, VersionKeyIsLanguageThenCodePageInUpperCaseHex) {
    EXPECT_EQ(platform::win32::TranslationKey(0x04E30419), "041904E3");
    EXPECT_EQ(platform::win32::TranslationKey(0x04B00409), "040904B0");
    EXPECT_EQ(platform::win32::TranslationKey(0x0000ABCD), "ABCD0000");
}

TEST(Win32System, ProgramVersionIsTheFileVersionOfTheFirstTranslation) {
    RecordingWin32Api win;
    win.versionInfoSize = 512;
    win.versionValues["\\VarFileInfo\\Translation"] = {0x19, 0x04, 0xE3, 0x04, 0x09, 0x04, 0xB0, 0x04};
    win.versionValues["\\StringFileInfo\\041904E3\\FileVersion"] = Bytes(std::string("1.0.0.0") + '\0');
    win.versionValues["\\StringFileInfo\\040904B0\\FileVersion"] = Bytes("9.9.9.9");
    platform::win32::Win32System system(win.Api());
    EXPECT_EQ(system.ProgramVersion(), "1.0.0.0");
    const std::string exe = "\"C:\\Program Files\\Zindrel\\zindrel.exe\"";
    EXPECT_EQ(win.calls,
              (Calls{"GetModuleFileNameA(null, 260)", "GetFileVersionInfoSizeA(" + exe + ")",
                     "GetFileVersionInfoA(" + exe + ", 0, 512)", "VerQueryValueA(\"\\VarFileInfo\\Translation\")",
                     "VerQueryValueA(\"\\StringFileInfo\\041904E3\\FileVersion\")"}));
}

TEST(Win32System, NoResourceUnreadableBlockOrNoTranslationGiveAnEmptyVersion) {
    RecordingWin32Api win;
    platform::win32::Win32System system(win.Api());
    EXPECT_EQ(system.ProgramVersion(), "");
    EXPECT_EQ(win.calls.back(), "GetFileVersionInfoSizeA(\"C:\\Program Files\\Zindrel\\zindrel.exe\")");

    win.versionInfoSize = 64;
    win.versionReadResult = 0;
    win.versionValues["\\VarFileInfo\\Translation"] = {0x19, 0x04, 0xE3, 0x04};
    win.versionValues["\\StringFileInfo\\041904E3\\FileVersion"] = Bytes("1.0.0.0");
    EXPECT_EQ(system.ProgramVersion(), "");

    win.versionReadResult = 1;
    win.versionValues.erase("\\VarFileInfo\\Translation");
    win.calls.clear();
    EXPECT_EQ(system.ProgramVersion(), "");
    EXPECT_EQ(win.calls.back(), "VerQueryValueA(\"\\StringFileInfo\\\\FileVersion\")");
}

TEST(Win32System, PlatformIdAndTheOwnerlessMessageBox) {
    RecordingWin32Api win;
    platform::win32::Win32System system(win.Api());
    EXPECT_EQ(system.PlatformId(), 2);
    win.platformId = 1;
    EXPECT_EQ(system.PlatformId(), 1);
    win.versionExResult = 0;
    EXPECT_EQ(system.PlatformId(), 0);
    win.calls.clear();
    system.MessageBox("Необходимо указать имя файла.", "Внимание!", 0x1040);
    EXPECT_EQ(win.calls, (Calls{"MessageBoxA(null, \"Необходимо указать имя файла.\", \"Внимание!\", 0x1040)"}));
}
