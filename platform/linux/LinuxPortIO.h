// SPDX-License-Identifier: GPL-3.0-or-later
// The PortIO interface on Linux.
#pragma once

#include "platform/PortIO.h"

namespace platform {

class LinuxPortIO : public PortIO {
public:
    std::uint8_t Read(std::uint16_t port) override;
    void Write(std::uint16_t port, std::uint8_t value) override;
};

} // namespace platform
