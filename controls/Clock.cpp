// SPDX-License-Identifier: GPL-3.0-or-later
// The queue of due window timers shared by every clock.
#include "controls/Clock.h"

#include "controls/WindowTimer.h"

#include <algorithm>
#include <limits>

namespace {
Clock *appClock = nullptr;
}

Clock &AppClock() {
    return *appClock;
}

void SetAppClock(Clock *clock) {
    appClock = clock;
}

void Clock::Schedule(WindowTimer *timer, std::int64_t dueMs, std::int64_t leewayMs) {
    std::erase_if(entries_, [timer](const Entry &e) { return e.timer == timer; });
    entries_.push_back({dueMs, nextOrder_++, timer, std::max<std::int64_t>(leewayMs, 0)});
    Rearm();
}

void Clock::Unschedule(WindowTimer *timer) {
    const auto removed = std::erase_if(entries_, [timer](const Entry &e) { return e.timer == timer; });
    if (removed > 0) {
        Rearm();
    }
}

std::int64_t Clock::EarliestDue() const {
    std::int64_t earliest = std::numeric_limits<std::int64_t>::max();
    for (const Entry &e : entries_) {
        earliest = std::min(earliest, e.due);
    }
    return earliest;
}

void Clock::Halt() {
    halted_ = true;
    Rearm();
}

bool Clock::HasDue(std::int64_t limitMs) const {
    return !halted_ && !entries_.empty() && EarliestDue() <= limitMs;
}

bool Clock::FireNext(std::int64_t limitMs) {
    return FireFirst(limitMs, false);
}

bool Clock::FireNextEarly(std::int64_t nowMs) {
    return FireFirst(nowMs, true);
}

bool Clock::FireFirst(std::int64_t limitMs, bool withLeeway) {
    if (halted_) {
        return false;
    }
    auto next = entries_.end();
    for (auto it = entries_.begin(); it != entries_.end(); ++it) {
        const std::int64_t from = withLeeway ? it->due - it->leeway : it->due;
        if (from <= limitMs &&
            (next == entries_.end() || it->due < next->due || (it->due == next->due && it->order < next->order))) {
            next = it;
        }
    }
    if (next == entries_.end()) {
        return false;
    }
    WindowTimer *timer = next->timer;
    const std::int64_t due = next->due;
    entries_.erase(next);
    // The timer takes its next period before its handler runs, so a nested event loop inside the handler
    // finds the queue consistent.
    timer->Elapsed(due);
    Rearm();
    return true;
}

void Clock::FireDue() {
    while (FireNext(NowMs())) {
    }
    while (FireNextEarly(NowMs())) {
    }
}
