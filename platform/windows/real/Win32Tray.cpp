// SPDX-License-Identifier: GPL-3.0-or-later
// The notification area on Windows reports double clicks itself.
#include "platform/Tray.h"

namespace platform {

bool TrayReportsSingleActivations() {
    return false;
}

// The taskbar is the notification area there, and Qt puts the icon back when it restarts.
void WatchTrayHost(std::function<void()>) {}

} // namespace platform
