// SPDX-License-Identifier: GPL-3.0-or-later
// The program's clock: the platform's boot clock, which counts time spent suspended, so a timer that fell due
// during a suspend fires at resume.
#pragma once

#include "controls/Clock.h"

#include <memory>

namespace platform {
class BootClock;
}

class SystemClock : public Clock {
public:
    SystemClock();
    ~SystemClock() override;
    std::int64_t NowMs() const override;
    QDateTime WallNow() const override;

protected:
    void Rearm() override;

private:
    // The due time the wake-up is set for, so an unchanged queue makes no system call.
    std::int64_t armedDue_ = -1;
    std::unique_ptr<platform::BootClock> clock_;
};
