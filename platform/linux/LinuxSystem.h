// SPDX-License-Identifier: GPL-3.0-or-later
// The System interface on Linux: passwd, /proc/self/exe, XDG folders, the build's version, Qt message box.
#pragma once

#include "platform/System.h"

namespace platform {

class LinuxSystem : public System {
public:
    std::string LogonUserName() override;
    std::string ExecutablePath() override;
    std::string ProgramFolder() override;
    std::string ConfigFolder() override;
    std::string ProgramVersion() override;
    int PlatformId() override { return PLATFORM_WIN32_NT; }
    void MessageBox(const std::string &text, const std::string &caption, unsigned flags) override;
    void WarmUpMemory() override;
};

} // namespace platform
