// SPDX-License-Identifier: GPL-3.0-or-later
// Which display protocol the program runs on in a Wayland session, and what native Wayland leaves out.
#include "platform/Platform.h"
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
        setenv("QT_QPA_PLATFORM", "xcb", 1);
    }
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
