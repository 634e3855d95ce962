// SPDX-License-Identifier: GPL-3.0-or-later
// The LockKeys interface on X11, through XKB on a display connection of its own.
#pragma once

#include "platform/LockKeys.h"

namespace platform {

class LinuxLockKeys : public LockKeys {
public:
    LinuxLockKeys() = default;
    ~LinuxLockKeys() override;
    LinuxLockKeys(const LinuxLockKeys &) = delete;
    LinuxLockKeys &operator=(const LinuxLockKeys &) = delete;

    bool IsOn(int vk) override;
    void Set(int vk, bool on) override;

private:
    // Opens the display on first use; false (reported once) when there is no display or no XKB on it.
    bool Open();

    void *display_ = nullptr;
    bool opened_ = false;
};

} // namespace platform
