// SPDX-License-Identifier: GPL-3.0-or-later
// The SessionPower interface on Linux.
#pragma once

#include "platform/SessionPower.h"

namespace platform {

class LinuxSessionPower : public SessionPower {
public:
    bool LogOff() override;
    bool PowerOff() override;
    bool Reboot() override;
    bool Suspend() override;
};

} // namespace platform
