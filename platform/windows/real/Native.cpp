// SPDX-License-Identifier: GPL-3.0-or-later
// Installs the Win32 backends over the real table in the Windows build.
#include "platform/Platform.h"
#include "platform/windows/Win32Extras.h"
#include "platform/windows/Win32Keyboard.h"
#include "platform/windows/Win32Notices.h"
#include "platform/windows/Win32Power.h"
#include "platform/windows/Win32Shell.h"
#include "platform/windows/Win32SleepGuard.h"
#include "platform/windows/Win32Sound.h"
#include "platform/windows/real/Win32Native.h"
#include "platform/windows/real/Win32Real.h"

namespace platform {

namespace {

struct NativeBackends {
    const win32::Win32Api &api = win32::RealWin32Api();
    win32::Win32SessionPower power{api};
    win32::Win32Display display{api};
    win32::Win32LockKeys lockKeys{api};
    win32::Win32KeyState keyState{api};
    win32::Win32Audio audio{api};
    win32::Win32MediaPlayer player{api};
    win32::Win32CdDrive cdDrive{api};
    win32::Win32Launcher launcher{api};
    win32::Win32Desktop desktop{api};
    win32::Win32System system{api};
    win32::Win32PortIO ports{api};
    win32::Win32Notifications notifications;
    win32::Win32WindowManager windowManager;
    win32::Win32SleepGuard sleepGuard{api};
};

NativeBackends &Native() {
    static NativeBackends backends;
    return backends;
}

} // namespace

void InstallNative() {
    NativeBackends &n = Native();
    Install({&n.power, &n.display, &n.lockKeys, &n.keyState, &n.audio, &n.player, &n.cdDrive, &n.launcher, &n.desktop,
             &n.system, &n.ports, &n.notifications, &n.windowManager, &n.sleepGuard});
}

// Windows has one display protocol, and the program's features all work on it.
void ChooseDisplayProtocol() {}
// Every Windows session has its desktop.
bool DisplayReachable() {
    return true;
}
void ReportDisplayLimits() {}
// Qt reads the system's fonts through DirectWrite or GDI, which need no configuration read beforehand.
std::future<std::string> ReadFontsAside(const std::string &family) {
    std::promise<std::string> asked;
    asked.set_value(family);
    return asked.get_future();
}
// Windows ends a program through its windows' messages, which Qt turns into close events.
void OnEndRequest(std::function<void()>) {}
void SetMainWindow(std::uintptr_t window) {
    win32::SetMainWindow(window);
}

void win32::SetMainWindow(std::uintptr_t window) {
    const auto handle = reinterpret_cast<HWND>(window);
    Native().cdDrive.SetCallbackWindow(handle);
    Native().desktop.SetOwnerWindow(handle);
}

} // namespace platform
