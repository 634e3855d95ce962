// SPDX-License-Identifier: GPL-3.0-or-later
// The CD-ROM tray, moved in the order the commands come; a command may return before the tray has moved.
#pragma once

namespace platform {

class CdDrive {
public:
    virtual ~CdDrive() = default;
    virtual void OpenDoor() = 0;
    virtual void CloseDoor() = 0;
};

} // namespace platform
