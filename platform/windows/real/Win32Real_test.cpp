// SPDX-License-Identifier: GPL-3.0-or-later
// The real Win32 table under Windows or Wine: code pages, the version resource and icon, the registry, the
// shortcut, the file replace and the wake-up timers.
#include <windows.h>

#include <objbase.h>
#include <shlguid.h>
#include <shlobj.h>
#include <shobjidl.h>

#undef GetVersionEx
#undef MessageBox

#include "platform/FileReplace.h"
#include "platform/Platform.h"
#include "platform/windows/Win32Extras.h"
#include "platform/windows/Win32Instance.h"
#include "platform/windows/Win32Power.h"
#include "platform/windows/Win32Shell.h"
#include "platform/windows/real/Win32Real.h"
#include "platform/windows/real/Win32WakeTimer.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>
#include <string>
#include <thread>

using platform::win32::RealWin32Api;

namespace {

const char *const explorerKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer";
const char *const shellFoldersKey = "Software\\MicroSoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

// The registry and desktop tests change the user's settings; they run only in a Wine prefix (the test script
// makes a private one), never on a real user's Windows.
bool UnderWine() {
    const HMODULE ntdll = ::GetModuleHandleA("ntdll.dll");
    return ntdll != nullptr && ::GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

std::string WideToUtf8(const std::wstring &wide) {
    const int length = ::WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(length), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, utf8.data(), length, nullptr, nullptr);
    utf8.pop_back(); // the NUL
    return utf8;
}

std::string ReadAll(const std::wstring &path) {
    std::string content;
    const HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    char buffer[256];
    DWORD got = 0;
    while (file != INVALID_HANDLE_VALUE && ::ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) {
        content.append(buffer, got);
    }
    ::CloseHandle(file);
    return content;
}

int CountFiles(const std::wstring &pattern) {
    int count = 0;
    WIN32_FIND_DATAW found{};
    const HANDLE search = ::FindFirstFileW(pattern.c_str(), &found);
    for (bool more = search != INVALID_HANDLE_VALUE; more; more = ::FindNextFileW(search, &found)) {
        ++count;
    }
    ::FindClose(search);
    return count;
}

std::string Lower(std::string text) {
    for (char &c : text) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return text;
}

void SetUserString(const char *subKey, const char *name, const std::string &value) {
    HKEY key = nullptr;
    ASSERT_EQ(::RegCreateKeyExA(HKEY_CURRENT_USER, subKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(::RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE *>(value.c_str()),
                               static_cast<DWORD>(value.size() + 1)),
              ERROR_SUCCESS);
    ::RegCloseKey(key);
}

void DeleteUserValue(const char *subKey, const char *name) {
    HKEY key = nullptr;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, subKey, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
        ::RegDeleteValueA(key, name);
        ::RegCloseKey(key);
    }
}

} // namespace

TEST(Win32RealText, Utf8AndWindows1251RoundTrip) {
    const std::string utf8 = "Внимание! Ёж";
    const std::string cp1251 = "\xC2\xED\xE8\xEC\xE0\xED\xE8\xE5! \xA8\xE6";
    EXPECT_EQ(platform::win32::Utf8ToCodePage(utf8, 1251), cp1251);
    EXPECT_EQ(platform::win32::CodePageToUtf8(cp1251, 1251), utf8);
    EXPECT_EQ(platform::win32::Utf8ToCodePage("", 1251), "");
}

TEST(Win32RealSystem, VersionResourceFoldersAndPlatformOfThisExecutable) {
    platform::win32::Win32System system(RealWin32Api());
    EXPECT_EQ(system.ProgramVersion(), ZINDREL_VERSION);
    EXPECT_EQ(system.PlatformId(), 2);

    const std::string exe = system.ExecutablePath();
    ASSERT_GT(exe.size(), 4u);
    EXPECT_EQ(Lower(exe.substr(exe.size() - 4)), ".exe");
    const std::string folder = system.ProgramFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), '\\');
    EXPECT_EQ(exe.compare(0, folder.size(), folder), 0);

    char windows[MAX_PATH] = {};
    ::GetWindowsDirectoryA(windows, MAX_PATH);
    EXPECT_EQ(system.ConfigFolder(), std::string(windows) + "\\");
    EXPECT_EQ(platform::win32::GetWindowsDir(RealWin32Api()), windows);
}

TEST(Win32RealSystem, AppDataFolderAndAWriteProbeThatLeavesNoFile) {
    char expected[MAX_PATH] = {};
    ASSERT_EQ(::SHGetFolderPathA(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, expected), S_OK);
    char path[1024] = {};
    EXPECT_EQ(RealWin32Api().SHGetFolderPath(CSIDL_APPDATA, path, sizeof path), 0);
    EXPECT_EQ(std::string(path), expected);
    EXPECT_NE(RealWin32Api().SHGetFolderPath(CSIDL_APPDATA, path, 3), 0);

    // The executable's folder takes files here, so the settings stay beside it, and the probe is gone at once.
    platform::win32::Win32System system(RealWin32Api());
    const std::string folder = system.ProgramFolder();
    const std::string exe = system.ExecutablePath();
    EXPECT_EQ(folder, exe.substr(0, exe.find_last_of('\\') + 1));
    EXPECT_EQ(::GetFileAttributesA((folder + "zindrel_write_check.tmp").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(Win32RealSystem, InstallNativePutsTheWin32BackendsInPlace) {
    platform::InstallNative();
    ASSERT_NE(platform::Current().system, nullptr);
    EXPECT_EQ(platform::Current().system->ProgramVersion(), ZINDREL_VERSION);
    EXPECT_NE(platform::Current().power, nullptr);
    EXPECT_NE(platform::Current().ports, nullptr);
}

TEST(Win32RealSystem, LogonUserNameReadsTheExplorerValueAndIsEmptyWithoutIt) {
    if (!UnderWine()) {
        GTEST_SKIP() << "changes the user's registry; runs only in a private Wine prefix";
    }
    platform::win32::Win32System system(RealWin32Api());
    DeleteUserValue(explorerKey, "Logon User Name");
    EXPECT_EQ(system.LogonUserName(), "");
    SetUserString(explorerKey, "Logon User Name", "Tester");
    EXPECT_EQ(system.LogonUserName(), "Tester");
    DeleteUserValue(explorerKey, "Logon User Name");
}

TEST(Win32RealDesktop, ShortcutIsSavedInTheDesktopShellFolderPointingAtTheTarget) {
    if (!UnderWine()) {
        GTEST_SKIP() << "changes the user's desktop folder; runs only in a private Wine prefix";
    }
    char temp[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, temp);
    const std::string folder = std::string(temp) + "zindrel-desktop-" + std::to_string(::GetCurrentProcessId());
    ASSERT_TRUE(::CreateDirectoryA(folder.c_str(), nullptr));
    SetUserString(shellFoldersKey, "Desktop", folder);

    platform::win32::Win32System system(RealWin32Api());
    platform::win32::Win32Desktop desktop(RealWin32Api());
    const std::string exe = system.ExecutablePath();
    EXPECT_TRUE(desktop.MakeShortcut(exe, system.ProgramFolder(), "Zindrel", ""));

    const std::string link = folder + "\\Zindrel.lnk";
    ASSERT_NE(::GetFileAttributesA(link.c_str()), INVALID_FILE_ATTRIBUTES);
    ASSERT_TRUE(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    IShellLinkA *shellLink = nullptr;
    ASSERT_TRUE(SUCCEEDED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                             reinterpret_cast<void **>(&shellLink))));
    IPersistFile *file = nullptr;
    ASSERT_TRUE(SUCCEEDED(shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void **>(&file))));
    const std::u16string wideLink = platform::win32::Utf8ToUtf16(link);
    EXPECT_TRUE(SUCCEEDED(file->Load(reinterpret_cast<const wchar_t *>(wideLink.c_str()), STGM_READ)));
    char target[MAX_PATH] = {};
    shellLink->GetPath(target, MAX_PATH, nullptr, 0);
    char workingFolder[MAX_PATH] = {};
    shellLink->GetWorkingDirectory(workingFolder, MAX_PATH);
    file->Release();
    shellLink->Release();
    ::CoUninitialize();
    EXPECT_EQ(Lower(target), Lower(exe));
    EXPECT_EQ(Lower(workingFolder), Lower(system.ProgramFolder()));

    ::DeleteFileA(link.c_str());
    ::RemoveDirectoryA(folder.c_str());
}

TEST(Win32RealShell, LauncherAndPlayerLookupAnswerFromTheSystem) {
    platform::win32::Win32Launcher launcher(RealWin32Api());
    EXPECT_TRUE(launcher.Start("cmd.exe /c exit 0"));
    EXPECT_FALSE(launcher.Start("zindrel-no-such-program.exe"));

    platform::win32::Win32MediaPlayer player(RealWin32Api());
    EXPECT_EQ(player.Find("Zindrel no such window class"), 0u);
    EXPECT_FALSE(player.IsAlive(0));
}

TEST(Win32RealFiles, ReplaceSwapsTheWholeFileRefusesAReadOnlyOneAndLeavesNoTemporary) {
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    const std::wstring folder = std::wstring(temp) + L"zindrel-replace-" + std::to_wstring(::GetCurrentProcessId());
    ASSERT_TRUE(::CreateDirectoryW(folder.c_str(), nullptr));
    const std::wstring wide = folder + L"\\\x0437\x0438\x043D\x0434\x0440\x0435\x043B\x044C.ini"; // a Cyrillic name
    const std::string path = WideToUtf8(wide);
    const auto read = [&] { return ReadAll(wide); };
    const auto temporaries = [&] { return CountFiles(wide + L".tmp.*"); };

    EXPECT_TRUE(platform::WriteFileAtomically(path, "[main]\r\n", true));
    EXPECT_TRUE(platform::WriteFileAtomically(path, "[main]\r\nsec=7\r\n", true));
    EXPECT_EQ(read(), "[main]\r\nsec=7\r\n");
    EXPECT_EQ(temporaries(), 0);

    ASSERT_TRUE(::SetFileAttributesW(wide.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_FALSE(platform::WriteFileAtomically(path, "[main]\r\nsec=8\r\n", true));
    EXPECT_EQ(read(), "[main]\r\nsec=7\r\n");
    EXPECT_EQ(temporaries(), 0);
    EXPECT_FALSE(platform::WriteFileAtomically(WideToUtf8(folder + L"\\no-such-folder\\x.ini"), "x", false));

    ::SetFileAttributesW(wide.c_str(), FILE_ATTRIBUTE_NORMAL);
    ::DeleteFileW(wide.c_str());
    ::RemoveDirectoryW(folder.c_str());
}

// Wine 8 makes no Windows link (its CreateSymbolicLinkW says yes and makes nothing) but follows a unix one, so the
// link comes from scripts/win32-test.sh: link.ini, a unix link to linked.ini ("[main]" alone) in a folder of its own.
TEST(Win32RealFiles, ReplaceThroughALinkReplacesTheFileItPointsToAndKeepsTheLink) {
    const wchar_t *const folder = ::_wgetenv(L"ZINDREL_TEST_LINKS");
    if (folder == nullptr) {
        GTEST_SKIP() << "no link to write through: scripts/win32-test.sh makes one and names its folder in "
                        "ZINDREL_TEST_LINKS";
    }
    const std::wstring link = std::wstring(folder) + L"\\link.ini";
    const std::wstring target = std::wstring(folder) + L"\\linked.ini";
    ASSERT_EQ(ReadAll(link), "[main]\r\n");

    EXPECT_TRUE(platform::WriteFileAtomically(WideToUtf8(link), "[main]\r\nsec=7\r\n", false));
    EXPECT_EQ(ReadAll(target), "[main]\r\nsec=7\r\n");
    // Still a link: what the file it points to holds is read through it.
    EXPECT_TRUE(platform::WriteFileAtomically(WideToUtf8(target), "[main]\r\nsec=8\r\n", false));
    EXPECT_EQ(ReadAll(link), "[main]\r\nsec=8\r\n");
    EXPECT_EQ(CountFiles(std::wstring(folder) + L"\\*.tmp.*"), 0);
}

TEST(Win32RealClock, WakeTimerFiresAfterItsWaitAtOnceForZeroAndNeverWhenCancelled) {
    platform::win32::WakeTimer timer;
    const HANDLE both[] = {timer.Precise(), timer.AtResume()};
    ASSERT_NE(both[0], nullptr);
    ASSERT_NE(both[1], nullptr);

    const std::int64_t start = platform::win32::PerformanceCounterMs();
    timer.WakeIn(40);
    const DWORD woke = ::WaitForMultipleObjects(2, both, FALSE, 10000);
    EXPECT_TRUE(woke == WAIT_OBJECT_0 || woke == WAIT_OBJECT_0 + 1) << woke;
    // The timers' own tick may round the due time down by up to a millisecond.
    EXPECT_GE(platform::win32::PerformanceCounterMs() - start, 39);

    timer.WakeIn(0);
    EXPECT_NE(::WaitForMultipleObjects(2, both, FALSE, 10000), WAIT_TIMEOUT);

    timer.WakeIn(20);
    timer.WakeIn(-1);
    EXPECT_EQ(::WaitForMultipleObjects(2, both, FALSE, 300), WAIT_TIMEOUT);
}

TEST(Win32RealSystem, ExecutableCarriesTheProgramIcon) {
    EXPECT_NE(::FindResourceA(nullptr, MAKEINTRESOURCEA(1), RT_GROUP_ICON), nullptr);
}

TEST(Win32RealInstance, TheFirstClaimOwnsTheSessionMutexAndOneWhileItQuitsBecomesTheProgram) {
    platform::win32::Win32Instance first(RealWin32Api(), nullptr);
    platform::win32::Win32Instance second(RealWin32Api(), nullptr);
    EXPECT_EQ(first.Claim({}), platform::Instance::Role::First);
    HANDLE opened = ::OpenMutexA(SYNCHRONIZE, FALSE, "Local\\org.example.zindrel");
    EXPECT_NE(opened, nullptr) << "the mutex is named in the session's namespace";
    ::CloseHandle(opened);
    std::thread quitting([&first] {
        ::Sleep(300);
        first.Leave();
    });
    EXPECT_EQ(second.Claim({}), platform::Instance::Role::First);
    quitting.join();
}
