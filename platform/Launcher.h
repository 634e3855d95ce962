// SPDX-License-Identifier: GPL-3.0-or-later
// Starting a command line without waiting for it, and the program files a user picks for it.
#pragma once

#include <string>

namespace platform {

// What the open dialog counts as a program: a name pattern, and whether only files the user may execute count
// (a system whose programs carry no name ending).
struct ProgramFiles {
    std::string pattern;
    bool executableOnly = false;
};

class Launcher {
public:
    virtual ~Launcher() = default;
    virtual bool Start(const std::string &commandLine) = 0;
    // A picked program's path as a command line that starts exactly that file, whatever characters its name holds.
    virtual std::string ProgramCommandLine(const std::string &path) = 0;
    virtual ProgramFiles Programs() = 0;
};

} // namespace platform
