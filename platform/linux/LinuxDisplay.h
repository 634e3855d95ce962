// SPDX-License-Identifier: GPL-3.0-or-later
// The Display interface on Linux: X11 DPMS or the Wayland compositor's own way; the desktop's screen saver.
#pragma once

#include "platform/Display.h"

namespace platform {

class XDisplayCalls;

class LinuxDisplay : public Display {
public:
    LinuxDisplay();
    explicit LinuxDisplay(XDisplayCalls &x) : x_(x) {}
    void MonitorLowPower() override;
    void StartScreenSaver() override;

private:
    XDisplayCalls &x_;
};

// A Wayland session: XDG_SESSION_TYPE says so, or there is a Wayland display and no X display.
bool IsWaylandSession();

} // namespace platform
