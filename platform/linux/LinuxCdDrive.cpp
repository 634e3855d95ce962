// SPDX-License-Identifier: GPL-3.0-or-later
// The CdDrive interface on Linux (the tray ioctls come with the extras work).
#include "platform/linux/LinuxCdDrive.h"

namespace platform {

void LinuxCdDrive::OpenDoor() {}
void LinuxCdDrive::CloseDoor() {}

} // namespace platform
