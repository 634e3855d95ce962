// SPDX-License-Identifier: GPL-3.0-or-later
// A clock moved by hand: advance(ms) fires every due timer in time order, the wall clock is settable.
#pragma once

#include "controls/Clock.h"

class ManualClock : public Clock {
public:
    explicit ManualClock(QDateTime wall = QDateTime(QDate(2026, 12, 7), QTime(12, 0, 0)));
    std::int64_t NowMs() const override { return now_; }
    QDateTime WallNow() const override { return wallBase_.addMSecs(now_ - wallBaseMs_); }
    // Moves time on by ms, firing each timer as its due time is reached.
    void advance(std::int64_t ms);
    // Moves time on without firing anything, as a blocked thread or a suspended machine does; the overdue
    // timers fire at the next advance.
    void suspend(std::int64_t ms) { now_ += ms; }
    // Sets the wall clock without moving the boot clock (the user changed the time).
    void setWall(const QDateTime &wall);
    // Timers fire again after a halt, for a test that goes on with the program whose main window closed.
    void resume() { Resume(); }

private:
    std::int64_t now_ = 0;
    QDateTime wallBase_;
    std::int64_t wallBaseMs_ = 0;
};
