// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop notification and window-manager requests on Windows, where nothing beyond Qt's own is needed.
#pragma once

#include "platform/Notifications.h"
#include "platform/WindowManager.h"

namespace platform::win32 {

// The warning dialog is the notice on Windows: a balloon of the notification area has no action that could cancel.
class Win32Notifications : public Notifications {
public:
    void ShowUrgent(const std::string &, const std::string &, const std::string &, int,
                    std::function<void()>) override {}
    void Withdraw() override {}
};

// Qt's title-only window flags already give a caption without buttons there, and its activation of a window of
// the foreground process's modal loop is what the system allows.
class Win32WindowManager : public WindowManager {
public:
    void TitleOnly(std::uintptr_t) override {}
    void ForceActive(std::uintptr_t) override {}
};

} // namespace platform::win32
