// SPDX-License-Identifier: GPL-3.0-or-later
// The CdDrive interface on Linux.
#pragma once

#include "platform/CdDrive.h"

namespace platform {

class LinuxCdDrive : public CdDrive {
public:
    void OpenDoor() override;
    void CloseDoor() override;
};

} // namespace platform
