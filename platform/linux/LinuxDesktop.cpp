// SPDX-License-Identifier: GPL-3.0-or-later
// The Desktop interface on Linux (xdg-open and the desktop entry come with the settings and About work).
#include "platform/linux/LinuxDesktop.h"

namespace platform {

bool LinuxDesktop::OpenTarget(const std::string &) {
    return false;
}
bool LinuxDesktop::MakeShortcut(const std::string &, const std::string &, const std::string &) {
    return false;
}

} // namespace platform
