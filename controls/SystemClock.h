// SPDX-License-Identifier: GPL-3.0-or-later
// The program's clock: CLOCK_BOOTTIME through a timerfd, so time spent suspended counts and a timer
// that fell due during a suspend fires at resume.
#pragma once

#include "controls/Clock.h"

#include <memory>

class QSocketNotifier;

class SystemClock : public Clock {
public:
    SystemClock();
    ~SystemClock() override;
    std::int64_t NowMs() const override;
    QDateTime WallNow() const override;

protected:
    void Rearm() override;

private:
    int fd_ = -1;
    // The due time the timerfd is armed for, so an unchanged queue makes no system call.
    std::int64_t armedDue_ = -1;
    std::unique_ptr<QSocketNotifier> notifier_;
};
