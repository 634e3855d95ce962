// SPDX-License-Identifier: GPL-3.0-or-later
// The Pause key watch on X11, polled with XQueryKeymap.
#pragma once

#include "platform/KeyState.h"

namespace platform {

class LinuxKeyState : public KeyState {
public:
    ~LinuxKeyState() override;
    bool PausePressed() override;

private:
    void *display_ = nullptr;
    unsigned char pauseKeycode_ = 0;
    bool opened_ = false;
};

} // namespace platform
