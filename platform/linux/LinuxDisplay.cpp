// SPDX-License-Identifier: GPL-3.0-or-later
// The Display interface on Linux (DPMS and the screen saver come with the power work).
#include "platform/linux/LinuxDisplay.h"

#include "platform/linux/Report.h"

namespace platform {

void LinuxDisplay::MonitorLowPower() {
    ReportUnreachable("monitor power is not available yet");
}
void LinuxDisplay::StartScreenSaver() {
    ReportUnreachable("the screen saver is not available yet");
}

} // namespace platform
