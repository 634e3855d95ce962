// SPDX-License-Identifier: GPL-3.0-or-later
// The Pause key watch of the hidden-window recovery.
#pragma once

#include <functional>

namespace platform {

class KeyState {
public:
    virtual ~KeyState() = default;
    // True when Pause is down now or was pressed since the previous call.
    virtual bool PausePressed() = 0;
    // Asks to be told, on the GUI thread, each time Pause goes down (true) and up (false). False when this
    // system can only be polled; the caller then polls PausePressed().
    virtual bool WatchPause(std::function<void(bool down)> onChange) {
        static_cast<void>(onChange);
        return false;
    }
};

} // namespace platform
