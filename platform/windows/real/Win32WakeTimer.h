// SPDX-License-Identifier: GPL-3.0-or-later
// The boot clock's parts on Windows that need no event loop: the performance counter and two waitable timers.
#pragma once

#include <cstdint>

namespace platform::win32 {

// Milliseconds of the performance counter, which keeps counting while the machine sleeps or hibernates.
std::int64_t PerformanceCounterMs();

// A wake-up on two waitable timers, since no single one both keeps precise time and fires at resume: a relative
// high-resolution timer (precise, deaf to changes of the time of day, but since Windows 8 it stops counting while
// the machine sleeps) and an absolute one on the system time (which the sleep does not stop, so it fires at
// resume). Whichever is signalled first ends the wake-up.
class WakeTimer {
public:
    WakeTimer();
    ~WakeTimer();
    WakeTimer(const WakeTimer &) = delete;
    WakeTimer &operator=(const WakeTimer &) = delete;

    // Sets both timers waitMs from now; a negative wait cancels them.
    void WakeIn(std::int64_t waitMs);
    // The two timer handles (HANDLE) to wait on; they reset themselves when a wait is satisfied.
    void *Precise() const { return precise_; }
    void *AtResume() const { return atResume_; }
    // Whether the precise timer is a high-resolution one (Windows 10 1803 and later).
    bool HighResolution() const { return highResolution_; }

private:
    void *precise_ = nullptr;
    void *atResume_ = nullptr;
    bool highResolution_ = false;
};

} // namespace platform::win32
