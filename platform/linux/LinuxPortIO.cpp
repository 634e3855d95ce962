// SPDX-License-Identifier: GPL-3.0-or-later
// Port I/O on Linux: the speaker-port path is never chosen here (the platform id is that of the NT family),
// so a read gives 0 and a write goes nowhere.
#include "platform/linux/LinuxPortIO.h"

namespace platform {

std::uint8_t LinuxPortIO::Read(std::uint16_t) {
    return 0;
}
void LinuxPortIO::Write(std::uint16_t, std::uint8_t) {}

} // namespace platform
