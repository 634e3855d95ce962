// SPDX-License-Identifier: GPL-3.0-or-later
// A timer with the rules of a window timer.
#include "controls/WindowTimer.h"

#include "controls/Clock.h"

#include <algorithm>

WindowTimer::WindowTimer(QObject *parent, Clock *clock) : QObject(parent), clock_(clock ? clock : &AppClock()) {}

WindowTimer::~WindowTimer() {
    clock_->Unschedule(this);
}

void WindowTimer::Start() {
    if (interval_ <= 0) {
        clock_->Unschedule(this);
        return;
    }
    due_ = clock_->NowMs() + interval_;
    clock_->Schedule(this, due_, Leeway());
}

void WindowTimer::SetInterval(std::int64_t ms) {
    if (ms == interval_) {
        return;
    }
    interval_ = ms;
    if (enabled_) {
        Start();
    }
}

void WindowTimer::SetEnabled(bool enabled) {
    if (enabled == enabled_) {
        return;
    }
    enabled_ = enabled;
    if (enabled_) {
        Start();
    } else {
        clock_->Unschedule(this);
    }
}

std::int64_t WindowTimer::Leeway() const {
    // Less than one interval, so a timer fired early is not yet due again in the same wake-up.
    return std::min(leeway_, interval_ - 1);
}

std::int64_t WindowTimer::RemainingTime() const {
    if (!enabled_ || interval_ <= 0) {
        return 0;
    }
    return std::max<std::int64_t>(0, due_ - clock_->NowMs());
}

void WindowTimer::Elapsed(std::int64_t dueMs) {
    const std::int64_t now = clock_->NowMs();
    lateness_ = now - dueMs;
    due_ = dueMs + interval_;
    if (!catchUp_ && due_ <= now) {
        due_ = now + interval_;
    }
    clock_->Schedule(this, due_, Leeway());
    if (OnTimer) {
        OnTimer(this);
    }
}
