// SPDX-License-Identifier: GPL-3.0-or-later
// The Pause key watch of the hidden-window recovery.
#pragma once

namespace platform {

class KeyState {
public:
    virtual ~KeyState() = default;
    // True when Pause is down now or was pressed since the previous call.
    virtual bool PausePressed() = 0;
};

} // namespace platform
