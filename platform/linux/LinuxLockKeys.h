// SPDX-License-Identifier: GPL-3.0-or-later
// The LockKeys interface on Linux.
#pragma once

#include "platform/LockKeys.h"

namespace platform {

class LinuxLockKeys : public LockKeys {
public:
    bool IsOn(int vk) override;
    void Set(int vk, bool on) override;
};

} // namespace platform
