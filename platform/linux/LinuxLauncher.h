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

// The path as one word of /bin/sh: in single quotes when it holds a blank or a character the shell acts on.
std::string ShellQuoted(const std::string &path);

class LinuxLauncher : public Launcher {
public:
    bool Start(const std::string &commandLine) override;
    std::string ProgramCommandLine(const std::string &path) override { return ShellQuoted(path); }
    // Programs here are executable files of any name.
    ProgramFiles Programs() override { return {"*", true}; }
};

} // namespace platform
