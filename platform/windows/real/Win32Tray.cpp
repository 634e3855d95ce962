// SPDX-License-Identifier: GPL-3.0-or-later
// The notification area on Windows reports double clicks itself.
#include "platform/Tray.h"

namespace platform {

bool TrayReportsSingleActivations() {
    return false;
}

} // namespace platform
