// SPDX-License-Identifier: GPL-3.0-or-later
// The program's clock on the platform's boot clock.
#include "controls/SystemClock.h"

#include "platform/BootClock.h"

#include <algorithm>
#include <cstdint>

SystemClock::SystemClock()
    : clock_(platform::MakeBootClock([this] {
          armedDue_ = -1; // a wake-up that came is spent
          FireDue();
          Rearm();
      })) {}

SystemClock::~SystemClock() = default;

std::int64_t SystemClock::NowMs() const {
    return clock_->NowMs();
}

QDateTime SystemClock::WallNow() const {
    return QDateTime::currentDateTime();
}

void SystemClock::Rearm() {
    const std::int64_t due = HasDue(INT64_MAX) ? EarliestDue() : -1;
    if (due == armedDue_) {
        return;
    }
    armedDue_ = due;
    // A due time already past still wakes, at once.
    clock_->WakeIn(due >= 0 ? std::max<std::int64_t>(due - NowMs(), 0) : -1);
}
