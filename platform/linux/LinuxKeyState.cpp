// SPDX-License-Identifier: GPL-3.0-or-later
// The Pause key watch on X11.
#include "platform/linux/LinuxKeyState.h"

#include <X11/Xlib.h>
#include <X11/keysym.h>

#include <cstdio>

namespace platform {

LinuxKeyState::~LinuxKeyState() {
    if (display_ != nullptr) {
        XCloseDisplay(static_cast<::Display *>(display_));
    }
}

bool LinuxKeyState::PausePressed() {
    if (!opened_) {
        opened_ = true;
        display_ = XOpenDisplay(nullptr);
        if (display_ == nullptr) {
            std::fprintf(stderr, "zindrel: no X display, the Pause key is not watched\n");
            return false;
        }
        pauseKeycode_ = static_cast<unsigned char>(XKeysymToKeycode(static_cast<::Display *>(display_), XK_Pause));
    }
    if (display_ == nullptr || pauseKeycode_ == 0) {
        return false;
    }
    char keys[32] = {};
    XQueryKeymap(static_cast<::Display *>(display_), keys);
    return (keys[pauseKeycode_ / 8] & (1 << (pauseKeycode_ % 8))) != 0;
}

} // namespace platform
