// SPDX-License-Identifier: GPL-3.0-or-later
// A clock moved by hand, for tests.
#include "controls/ManualClock.h"

#include <algorithm>

ManualClock::ManualClock(QDateTime wall) : wallBase_(std::move(wall)) {}

void ManualClock::advance(std::int64_t ms) {
    const std::int64_t target = now_ + ms;
    while (HasDue(target)) {
        now_ = std::max(now_, EarliestDue());
        // As on the real clock, the timers with leeway ride on the wake-up once every due one has fired.
        FireNext(now_);
        if (!HasDue(now_)) {
            while (FireNextEarly(now_)) {
            }
        }
    }
    now_ = std::max(now_, target);
}

void ManualClock::setWall(const QDateTime &wall) {
    wallBase_ = wall;
    wallBaseMs_ = now_;
}
