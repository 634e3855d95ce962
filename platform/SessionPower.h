// SPDX-License-Identifier: GPL-3.0-or-later
// Ending the user's session and changing the machine's power state.
#pragma once

namespace platform {

class SessionPower {
public:
    virtual ~SessionPower() = default;
    // Each returns true when the system accepted the request; the session then ends asynchronously.
    virtual bool LogOff() = 0;
    virtual bool PowerOff() = 0;
    virtual bool Reboot() = 0;
    virtual bool Suspend() = 0;
};

} // namespace platform
