// SPDX-License-Identifier: GPL-3.0-or-later
// The LockKeys interface on Linux (XKB comes with the blinker work).
#include "platform/linux/LinuxLockKeys.h"

namespace platform {

bool LinuxLockKeys::IsOn(int) {
    return false;
}
void LinuxLockKeys::Set(int, bool) {}

} // namespace platform
