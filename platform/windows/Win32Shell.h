// SPDX-License-Identifier: GPL-3.0-or-later
// The shell and the system facts: ShellExecuteA, the desktop shortcut, the registry, the version resource.
#pragma once

#include "platform/Desktop.h"
#include "platform/System.h"
#include "platform/windows/Win32Api.h"

#include <string>

namespace platform::win32 {

// A string value under HKEY_CURRENT_USER; the key is created when missing. Empty when it cannot be read.
std::string ReadUserRegistryString(const Win32Api &api, const std::string &subKey, const std::string &value);
// The version resource's translation key: language then code page, 8 upper-case hex digits.
std::string TranslationKey(DWORD translation);
// UTF-16 for the APIs that take wide paths; a malformed byte becomes U+FFFD.
std::u16string Utf8ToUtf16(const std::string &text);

class Win32Desktop : public Desktop {
public:
    explicit Win32Desktop(const Win32Api &api) : api_(api) {}
    // The application's window, named as the owner of the shell's answers; set once that window exists.
    void SetOwnerWindow(HWND window) { owner_ = window; }
    bool OpenTarget(const std::string &target) override;
    // Saves "<desktop folder>\<name>.lnk"; Windows shortcuts take their icon from the executable.
    bool MakeShortcut(const std::string &executable, const std::string &workingFolder, const std::string &name,
                      const std::string &iconPng) override;

private:
    const Win32Api &api_;
    HWND owner_ = nullptr;
};

class Win32System : public System {
public:
    explicit Win32System(const Win32Api &api) : api_(api) {}
    std::string LogonUserName() override;
    std::string ExecutablePath() override;
    // The executable's folder where a file can be made in it (a portable copy, the per-user install), else the
    // user's %APPDATA%\Zindrel\, so a program put where its user cannot write still keeps its settings.
    std::string ProgramFolder() override;
    // The Windows folder where a file can be made in it, else %APPDATA%\Zindrel\ as for the program folder.
    std::string ConfigFolder() override;
    std::string ProgramVersion() override;
    int PlatformId() override;
    void MessageBox(const std::string &text, const std::string &caption, unsigned flags) override;

private:
    // A folder's answer, kept: each settings read and write asks again, and the probe makes a file.
    struct Choice {
        std::string folder;
        std::string answer;
    };
    std::string WritableOrOwn(const std::string &folder, Choice &kept);
    std::string OwnFolder();

    const Win32Api &api_;
    Choice program_;
    Choice config_;
};

} // namespace platform::win32
