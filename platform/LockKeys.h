// SPDX-License-Identifier: GPL-3.0-or-later
// The three keyboard locks and their indicators, by their virtual-key codes.
#pragma once

namespace platform {

constexpr int VK_NUMLOCK_CODE = 0x90;
constexpr int VK_CAPITAL_CODE = 0x14;
constexpr int VK_SCROLL_CODE = 0x91;

class LockKeys {
public:
    virtual ~LockKeys() = default;
    // Whether the lock with this virtual-key code is on.
    virtual bool IsOn(int vk) = 0;
    // Switches the lock to the given state; a lock already in that state is left alone.
    virtual void Set(int vk, bool on) = 0;
};

} // namespace platform
