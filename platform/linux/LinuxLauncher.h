// SPDX-License-Identifier: GPL-3.0-or-later
// The Launcher interface on Linux: a command line run by /bin/sh, detached in its own session.
#pragma once

#include "platform/Launcher.h"

#include <string>
#include <vector>

namespace platform {

// Sets a variable for this program alone: a program started from here sees the value the user had before (or
// none), not this one.
void SetForThisProgram(const char *name, const char *value, bool overwrite);

// The environment as the user gave it to this program, "NAME=value" each: what a started program gets.
std::vector<std::string> UserEnvironment();

// Runs argv[0] with argv, in the user's environment, in a new session, re-parented away from this process so that no
// zombie is left; returns at once. False when the process could not be made.
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
