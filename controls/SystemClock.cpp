// SPDX-License-Identifier: GPL-3.0-or-later
// The program's clock on CLOCK_BOOTTIME.
#include "controls/SystemClock.h"

#include <QSocketNotifier>

#include <cstdint>
#include <ctime>
#include <sys/timerfd.h>
#include <unistd.h>

SystemClock::SystemClock() {
    fd_ = ::timerfd_create(CLOCK_BOOTTIME, TFD_NONBLOCK | TFD_CLOEXEC);
    if (fd_ < 0) {
        fd_ = ::timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC);
    }
    notifier_ = std::make_unique<QSocketNotifier>(fd_, QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, notifier_.get(), [this] {
        std::uint64_t expirations = 0;
        [[maybe_unused]] const ssize_t got = ::read(fd_, &expirations, sizeof expirations);
        armedDue_ = -1; // an expired timerfd is disarmed
        FireDue();
        Rearm();
    });
}

SystemClock::~SystemClock() {
    notifier_.reset();
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

std::int64_t SystemClock::NowMs() const {
    timespec now{};
    ::clock_gettime(CLOCK_BOOTTIME, &now);
    return static_cast<std::int64_t>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
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
    itimerspec expiry{};
    if (due >= 0) {
        // Armed relative to now rather than at an absolute time: time-scaling preloads (libfaketime, which the
        // system tests use) scale relative expiries but leave absolute ones on the unscaled clock.
        // A due time already past still needs a non-zero expiry, or the timerfd would be disarmed.
        const std::int64_t wait = std::max<std::int64_t>(due - NowMs(), 1);
        expiry.it_value.tv_sec = static_cast<time_t>(wait / 1000);
        expiry.it_value.tv_nsec = static_cast<long>((wait % 1000) * 1000000);
    }
    ::timerfd_settime(fd_, 0, &expiry, nullptr);
}
