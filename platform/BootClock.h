// SPDX-License-Identifier: GPL-3.0-or-later
// The clock under every window timer: milliseconds that also count suspended time, and one precise wake-up.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

namespace platform {

class BootClock {
public:
    virtual ~BootClock() = default;
    // Milliseconds since boot, counting the time the machine was suspended.
    virtual std::int64_t NowMs() const = 0;
    // Calls the wake-up handler from the event loop once waitMs have passed on this clock, or at resume when they
    // ran out during a suspend; a later call replaces the wake-up, a negative wait cancels it.
    virtual void WakeIn(std::int64_t waitMs) = 0;
};

// This system's clock; onWake runs from the event loop of the thread that made it.
std::unique_ptr<BootClock> MakeBootClock(std::function<void()> onWake);

} // namespace platform
