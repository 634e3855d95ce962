// SPDX-License-Identifier: GPL-3.0-or-later
// The SessionPower interface on Linux (logind and the desktop's session manager come with the power work).
#include "platform/linux/LinuxSessionPower.h"

#include "platform/linux/Report.h"

namespace platform {

bool LinuxSessionPower::LogOff() {
    ReportUnreachable("log-off is not available yet");
    return false;
}
bool LinuxSessionPower::PowerOff() {
    ReportUnreachable("power-off is not available yet");
    return false;
}
bool LinuxSessionPower::Reboot() {
    ReportUnreachable("restart is not available yet");
    return false;
}
bool LinuxSessionPower::Suspend() {
    ReportUnreachable("suspend is not available yet");
    return false;
}

} // namespace platform
