// SPDX-License-Identifier: GPL-3.0-or-later
// The Desktop interface on Linux.
#pragma once

#include "platform/Desktop.h"

namespace platform {

class LinuxDesktop : public Desktop {
public:
    bool OpenTarget(const std::string &target) override;
    bool MakeShortcut(const std::string &executable, const std::string &workingFolder,
                      const std::string &name) override;
};

} // namespace platform
