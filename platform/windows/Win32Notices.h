// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop notification and window-manager requests on Windows, where nothing beyond Qt's own is needed.
#pragma once

#include "platform/Notifications.h"
#include "platform/WindowManager.h"

namespace platform::win32 {

// A balloon of the notification area has no buttons: the program shows its notices there through its tray icon,
// a click on the balloon standing for the one action offered.
class Win32Notifications : public Notifications {
public:
    bool ShowsActions() const override { return false; }
    void Show(NoticeKind, Notice) override {}
    void Withdraw(NoticeKind) override {}
};

// Qt's title-only window flags already give a caption without buttons there, and its activation of a window of
// the foreground process's modal loop is what the system allows.
class Win32WindowManager : public WindowManager {
public:
    void TitleOnly(std::uintptr_t) override {}
    void ForceActive(std::uintptr_t) override {}
};

} // namespace platform::win32
