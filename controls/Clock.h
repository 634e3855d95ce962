// SPDX-License-Identifier: GPL-3.0-or-later
// The time source of every window timer: milliseconds since boot, the wall clock, and the queue of due timers.
#pragma once

#include <QDateTime>

#include <cstdint>
#include <vector>

class WindowTimer;

class Clock {
public:
    Clock() = default;
    Clock(const Clock &) = delete;
    Clock &operator=(const Clock &) = delete;
    virtual ~Clock() = default;

    // Milliseconds on a clock that also runs while the machine is suspended.
    virtual std::int64_t NowMs() const = 0;
    // The local date and time of day.
    virtual QDateTime WallNow() const = 0;

    // A timer with leeway may fire up to leewayMs before dueMs, on a wake-up the clock has for another timer.
    void Schedule(WindowTimer *timer, std::int64_t dueMs, std::int64_t leewayMs = 0);
    void Unschedule(WindowTimer *timer);
    // The program is ending (its main window has closed): no timer fires any more, also one due in the batch
    // being fired now or one started afterwards.
    void Halt();

protected:
    // Lets timers fire again; only a test, which reuses one program after its main window closed, needs it.
    void Resume() { halted_ = false; }
    // Called whenever the earliest due time may have changed.
    virtual void Rearm() {}
    // Fires every timer due by NowMs(), in time order, then those whose leeway reaches NowMs(), so that one
    // wake-up serves them all; a handler may run a nested event loop.
    void FireDue();
    // Fires the earliest timer due at or before limitMs; false when there is none.
    bool FireNext(std::int64_t limitMs);
    // Fires the earliest timer not yet due whose leeway reaches nowMs; false when there is none.
    bool FireNextEarly(std::int64_t nowMs);
    bool HasDue(std::int64_t limitMs) const;
    std::int64_t EarliestDue() const;

private:
    struct Entry {
        std::int64_t due;
        std::uint64_t order;
        WindowTimer *timer;
        std::int64_t leeway;
    };
    bool FireFirst(std::int64_t limitMs, bool withLeeway);
    std::vector<Entry> entries_;
    std::uint64_t nextOrder_ = 0;
    bool halted_ = false;
};

// The clock that new window timers run on: SystemClock in the program, ManualClock in tests.
Clock &AppClock();
void SetAppClock(Clock *clock);
