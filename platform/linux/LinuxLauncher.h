// SPDX-License-Identifier: GPL-3.0-or-later
// The Launcher interface on Linux: a command line run by /bin/sh, detached in its own session.
#pragma once

#include "platform/Launcher.h"

#include <string>
#include <vector>

namespace platform {

// Runs argv[0] with argv in a new session, re-parented away from this process so that no zombie is left;
// returns at once. False when the process could not be made.
bool SpawnDetached(const std::vector<std::string> &argv);

class LinuxLauncher : public Launcher {
public:
    bool Start(const std::string &commandLine) override;
};

} // namespace platform
