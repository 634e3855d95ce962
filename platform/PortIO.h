// SPDX-License-Identifier: GPL-3.0-or-later
// Single-byte x86 port input and output, for the PC-speaker path.
#pragma once

#include <cstdint>

namespace platform {

class PortIO {
public:
    virtual ~PortIO() = default;
    virtual std::uint8_t Read(std::uint16_t port) = 0;
    virtual void Write(std::uint16_t port, std::uint8_t value) = 0;
};

} // namespace platform
