// SPDX-License-Identifier: GPL-3.0-or-later
// The Launcher interface on Linux (the detached shell comes with the extras work).
#include "platform/linux/LinuxLauncher.h"

namespace platform {

bool LinuxLauncher::Start(const std::string &) {
    return false;
}

} // namespace platform
