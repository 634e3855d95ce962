// SPDX-License-Identifier: GPL-3.0-or-later
// The Launcher interface on Linux.
#pragma once

#include "platform/Launcher.h"

namespace platform {

class LinuxLauncher : public Launcher {
public:
    bool Start(const std::string &commandLine) override;
};

} // namespace platform
