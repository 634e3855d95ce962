// SPDX-License-Identifier: GPL-3.0-or-later
// Facts about the running system and the system-modal message box.
#pragma once

#include <string>

namespace platform {

constexpr unsigned MB_ICONERROR_FLAG = 0x10;
constexpr unsigned MB_ICONINFORMATION_FLAG = 0x40;
constexpr unsigned MB_SYSTEMMODAL_FLAG = 0x1000;

// 1 = the Windows 95 family, 2 = the NT family; the Linux backend reports 2.
constexpr int PLATFORM_WIN32_WINDOWS = 1;
constexpr int PLATFORM_WIN32_NT = 2;

class System {
public:
    virtual ~System() = default;
    // The logon user name, or the empty string when there is none.
    virtual std::string LogonUserName() = 0;
    // The full path of the program's own executable.
    virtual std::string ExecutablePath() = 0;
    // The program folder, ending with the separator.
    virtual std::string ProgramFolder() = 0;
    // The folder where a folder-less file name (zindrel.ini) lives, ending with the separator.
    virtual std::string ConfigFolder() = 0;
    // The program file's four-part version, or empty.
    virtual std::string ProgramVersion() = 0;
    virtual int PlatformId() = 0;
    // A message box with no owner; returns when the user has dismissed it.
    virtual void MessageBox(const std::string &text, const std::string &caption, unsigned flags) = 0;
    // Reads the program's memory back in shortly before a firing, so that a task due after a long wait does not
    // wait for memory the system let go cold (paged out, or taken back by the host of a virtual machine).
    virtual void WarmUpMemory() {}
};

} // namespace platform
