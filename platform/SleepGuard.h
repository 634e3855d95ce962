// SPDX-License-Identifier: GPL-3.0-or-later
// Keeping an armed timer's machine awake: no idle suspend while it runs, a wake-up from sleep for the alarm clock.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace platform {

class SleepGuard {
public:
    virtual ~SleepGuard() = default;
    // Holds off the automatic suspend on idleness (never the user's own suspend, the lid or the power button);
    // reason (UTF-8) is what the system lists as holding it. A new reason replaces the old; the same one changes
    // nothing. The hold ends with Release() or with the process, also when it crashes.
    virtual void Hold(const std::string &reason) = 0;
    virtual void Release() = 0;
    // Wakes a sleeping machine at this wall-clock time, in seconds since 1970-01-01 UTC; a later call replaces it.
    // It only wakes: what is due then is the program's own business. ended runs on the GUI thread when the wake-up
    // ends by itself (its time came, or the clock jumped past it), never after CancelWake or a later WakeAt.
    virtual void WakeAt(std::int64_t epochSeconds, std::function<void()> ended) = 0;
    virtual void CancelWake() = 0;
};

} // namespace platform
