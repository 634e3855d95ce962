// SPDX-License-Identifier: GPL-3.0-or-later
// The CD-ROM tray, each command returning when the tray has moved.
#pragma once

namespace platform {

class CdDrive {
public:
    virtual ~CdDrive() = default;
    virtual void OpenDoor() = 0;
    virtual void CloseDoor() = 0;
};

} // namespace platform
