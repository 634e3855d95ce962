// SPDX-License-Identifier: GPL-3.0-or-later
// Ending the session, the machine's power state and the display messages through ExitWindowsEx and friends.
#pragma once

#include "platform/Display.h"
#include "platform/SessionPower.h"
#include "platform/windows/Win32Api.h"

#include <string>

namespace platform::win32 {

constexpr UINT EWX_LOGOFF_FLAG = 0;
constexpr UINT EWX_SHUTDOWN_FLAG = 1;
constexpr UINT EWX_REBOOT_FLAG = 2;
constexpr UINT EWX_POWEROFF_FLAG = 8;

// Enables the shutdown privilege on the NT family when the flags need it, then asks ExitWindowsEx.
bool ExitWindowsPrivileged(const Win32Api &api, UINT flags);
// The Windows directory without a trailing separator.
std::string GetWindowsDir(const Win32Api &api);

class Win32SessionPower : public SessionPower {
public:
    explicit Win32SessionPower(const Win32Api &api) : api_(api) {}
    bool LogOff() override;
    bool PowerOff() override;
    bool Reboot() override;
    // True when the sleep command line was started.
    bool Suspend() override;

private:
    const Win32Api &api_;
};

class Win32Display : public Display {
public:
    explicit Win32Display(const Win32Api &api) : api_(api) {}
    void MonitorLowPower() override;
    void StartScreenSaver() override;

private:
    const Win32Api &api_;
};

} // namespace platform::win32
