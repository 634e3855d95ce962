// SPDX-License-Identifier: GPL-3.0-or-later
// A timer with the rules of a window timer: a new interval or switching it on restarts the period.
#pragma once

#include <QObject>

#include <cstdint>
#include <functional>

class Clock;

class WindowTimer : public QObject {
    Q_OBJECT
public:
    explicit WindowTimer(QObject *parent = nullptr, Clock *clock = nullptr);
    ~WindowTimer() override;

    std::int64_t Interval() const { return interval_; }
    // A different interval restarts the period of a running timer; the same interval changes nothing.
    void SetInterval(std::int64_t ms);
    bool Enabled() const { return enabled_; }
    // Switching on starts a fresh period; enabling an enabled timer changes nothing.
    void SetEnabled(bool enabled);
    // Milliseconds until the next tick of a running timer, else 0.
    std::int64_t RemainingTime() const;
    // How much later than its due time the last tick came (a suspend the clock counted, a busy thread).
    std::int64_t Lateness() const { return lateness_; }
    // A timer that catches up fires once for every period it missed (a minute ticker after a suspend);
    // the others coalesce missed periods into one tick, as window timers do.
    void SetCatchUp(bool catchUp) { catchUp_ = catchUp; }
    // A periodic check that may come up to ms early (less than one interval), so that it shares a wake-up the
    // clock has for another timer instead of waking the program on its own; from the next period on.
    void SetLeeway(std::int64_t ms) { leeway_ = ms; }

    // The handler, given this timer as the sender.
    std::function<void(QObject *)> OnTimer;

    // Called by the clock when a period has run out at dueMs.
    void Elapsed(std::int64_t dueMs);

private:
    void Start();
    std::int64_t Leeway() const;

    Clock *clock_;
    std::int64_t interval_ = 1000;
    bool enabled_ = false;
    bool catchUp_ = false;
    std::int64_t leeway_ = 0;
    std::int64_t due_ = 0;
    std::int64_t lateness_ = 0;
};
