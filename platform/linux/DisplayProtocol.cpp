// SPDX-License-Identifier: GPL-3.0-or-later
// How the program talks to the display: the protocol in a Wayland session, X11 without shared memory, and what
// native Wayland leaves out.
#include "platform/Platform.h"
#include "platform/linux/LinuxLauncher.h"
#include "platform/linux/Report.h"

#include <QGuiApplication>

#include <cstdlib>

namespace platform {

namespace {

bool Set(const char *name) {
    const char *value = std::getenv(name);
    return value != nullptr && *value != '\0';
}

} // namespace

void ChooseDisplayProtocol() {
    if (Set("WAYLAND_DISPLAY") && Set("DISPLAY") && !Set("QT_QPA_PLATFORM")) {
        SetForThisProgram("QT_QPA_PLATFORM", "xcb", true);
    }
    // Armed, the tray icon's small window is repainted every 150 ms. Through MIT-SHM, Qt waits for an X server
    // round trip before each repaint (the server may still be reading the shared image), which wakes the program
    // a second time per frame; the program's windows are small enough that plain image requests cost nothing
    // that shows. Qt reads the variable once, at connection; any value turns shared memory off.
    SetForThisProgram("QT_XCB_NO_MITSHM", "1", false);
}

void ReportDisplayLimits() {
    if (!QGuiApplication::platformName().startsWith(QStringLiteral("wayland"))) {
        return;
    }
    // The lock lights and the Pause key say so in their own backends.
    ReportUnreachable("native Wayland: windows are placed by the compositor, not at their stored positions");
    ReportUnreachable("native Wayland: the window opacity setting has no effect");
    ReportUnreachable("native Wayland: windows cannot stay on top; the warning may open behind other windows");
}

} // namespace platform
