// SPDX-License-Identifier: GPL-3.0-or-later
// The monitor's low-power state and the screen saver.
#pragma once

namespace platform {

class Display {
public:
    virtual ~Display() = default;
    virtual void MonitorLowPower() = 0;
    virtual void StartScreenSaver() = 0;
};

} // namespace platform
