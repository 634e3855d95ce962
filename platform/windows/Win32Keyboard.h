// SPDX-License-Identifier: GPL-3.0-or-later
// The keyboard locks through the thread's key state table, and the Pause-key watch.
#pragma once

#include "platform/KeyState.h"
#include "platform/LockKeys.h"
#include "platform/windows/Win32Api.h"

namespace platform::win32 {

class Win32LockKeys : public LockKeys {
public:
    explicit Win32LockKeys(const Win32Api &api) : api_(api) {}
    // Any non-zero byte counts, so a lock key held down also reads as on.
    bool IsOn(int vk) override;
    // The 9x family takes a new table; the NT family needs a synthesised press and release of the key.
    void Set(int vk, bool on) override;

private:
    const Win32Api &api_;
};

class Win32KeyState : public KeyState {
public:
    explicit Win32KeyState(const Win32Api &api) : api_(api) {}
    bool PausePressed() override;

private:
    const Win32Api &api_;
};

} // namespace platform::win32
