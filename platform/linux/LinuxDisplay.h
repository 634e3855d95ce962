// SPDX-License-Identifier: GPL-3.0-or-later
// The Display interface on Linux.
#pragma once

#include "platform/Display.h"

namespace platform {

class LinuxDisplay : public Display {
public:
    void MonitorLowPower() override;
    void StartScreenSaver() override;
};

} // namespace platform
