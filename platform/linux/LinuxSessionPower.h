// SPDX-License-Identifier: GPL-3.0-or-later
// The SessionPower interface on Linux: logind, and the running desktop's session manager for log-off.
#pragma once

#include "platform/SessionPower.h"

namespace platform {

// The buses are the standard ones (DBUS_SYSTEM_BUS_ADDRESS, DBUS_SESSION_BUS_ADDRESS), so tests can point them
// at private buses.
class LinuxSessionPower : public SessionPower {
public:
    bool LogOff() override;
    bool PowerOff() override;
    bool Reboot() override;
    bool Suspend() override;
};

} // namespace platform
