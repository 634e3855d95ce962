// SPDX-License-Identifier: GPL-3.0-or-later
// The WindowManager interface on X11 (also XWayland): Motif hints and EWMH requests to the window manager.
#pragma once

#include "platform/WindowManager.h"

namespace platform {

// On a display that is not X11 (native Wayland, offscreen) both calls do nothing.
class LinuxWindowManager : public WindowManager {
public:
    void TitleOnly(std::uintptr_t window) override;
    void ForceActive(std::uintptr_t window) override;
};

} // namespace platform
