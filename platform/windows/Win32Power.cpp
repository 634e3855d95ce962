// SPDX-License-Identifier: GPL-3.0-or-later
// The power operations: the shutdown privilege step, the flag word by Windows family, the sleep command line.
#include "platform/windows/Win32Power.h"

#include <vector>

namespace platform::win32 {

namespace {

constexpr UINT PRIVILEGED_FLAGS = EWX_SHUTDOWN_FLAG | EWX_REBOOT_FLAG | EWX_POWEROFF_FLAG;
constexpr DWORD TOKEN_ADJUST_PRIVILEGES_ACCESS = 0x20;
constexpr DWORD SE_PRIVILEGE_ENABLED_ATTRIBUTE = 2;
constexpr DWORD VER_PLATFORM_WIN32_NT_ID = 2;
constexpr UINT SW_SHOWNORMAL_MODE = 1;
constexpr UINT WM_SYSCOMMAND_MESSAGE = 0x0112;
constexpr WPARAM SC_MONITORPOWER_COMMAND = 0xF170;
constexpr WPARAM SC_SCREENSAVE_COMMAND = 0xF140;

DWORD PlatformIdOf(const Win32Api &api) {
    DWORD id = 0;
    return api.GetVersionEx(&id) ? id : 0;
}

} // namespace

bool ExitWindowsPrivileged(const Win32Api &api, UINT flags) {
    if (PlatformIdOf(api) == VER_PLATFORM_WIN32_NT_ID && (flags & PRIVILEGED_FLAGS) != 0) {
        HANDLE token = nullptr;
        if (api.OpenProcessToken(api.GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES_ACCESS, &token)) {
            TokenPrivilege privilege;
            if (api.LookupPrivilegeValueA(nullptr, "SeShutdownPrivilege", &privilege.Luid)) {
                privilege.PrivilegeCount = 1;
                privilege.Attributes = SE_PRIVILEGE_ENABLED_ATTRIBUTE;
                const BOOL adjusted = api.AdjustTokenPrivileges(token, 0, &privilege, 0, nullptr, nullptr);
                if (!adjusted) {
                    api.CloseHandle(token);
                    return false;
                }
            }
            // The token is only needed for the adjustment; the process may live on if the request is refused.
            api.CloseHandle(token);
        }
    }
    return api.ExitWindowsEx(flags, 0) != 0;
}

std::string GetWindowsDir(const Win32Api &api) {
    std::vector<char> buffer(255, '\0');
    api.GetWindowsDirectoryA(buffer.data(), 254);
    return std::string(buffer.data());
}

bool Win32SessionPower::LogOff() {
    return ExitWindowsPrivileged(api_, EWX_LOGOFF_FLAG);
}

bool Win32SessionPower::PowerOff() {
    const bool windows9x = (api_.GetVersion() & 0x80000000u) != 0;
    return ExitWindowsPrivileged(api_, windows9x ? EWX_SHUTDOWN_FLAG : EWX_POWEROFF_FLAG);
}

bool Win32SessionPower::Reboot() {
    return ExitWindowsPrivileged(api_, EWX_REBOOT_FLAG);
}

bool Win32SessionPower::Suspend() {
    const std::string command = GetWindowsDir(api_) + "\\System32\\rundll32.exe powrprof.dll,SetSuspendState";
    // WinExec answers above 31 when the command was started.
    return api_.WinExec(command.c_str(), SW_SHOWNORMAL_MODE) > 31;
}

void Win32Display::MonitorLowPower() {
    api_.SendMessageA(api_.GetDesktopWindow(), WM_SYSCOMMAND_MESSAGE, SC_MONITORPOWER_COMMAND, 1);
}

void Win32Display::StartScreenSaver() {
    api_.SendMessageA(api_.GetDesktopWindow(), WM_SYSCOMMAND_MESSAGE, SC_SCREENSAVE_COMMAND, 0);
}

} // namespace platform::win32
