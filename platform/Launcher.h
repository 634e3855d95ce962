// SPDX-License-Identifier: GPL-3.0-or-later
// Starting a command line without waiting for it.
#pragma once

#include <string>

namespace platform {

class Launcher {
public:
    virtual ~Launcher() = default;
    virtual bool Start(const std::string &commandLine) = 0;
};

} // namespace platform
