// SPDX-License-Identifier: GPL-3.0-or-later
// The boot clock on Linux: CLOCK_BOOTTIME and a timerfd on it, watched by the event loop.
#include "platform/BootClock.h"

#include <QSocketNotifier>

#include <algorithm>
#include <ctime>
#include <sys/timerfd.h>
#include <unistd.h>

namespace platform {

namespace {

class LinuxBootClock : public BootClock {
public:
    explicit LinuxBootClock(std::function<void()> onWake) : onWake_(std::move(onWake)) {
        fd_ = ::timerfd_create(CLOCK_BOOTTIME, TFD_NONBLOCK | TFD_CLOEXEC);
        if (fd_ < 0) {
            clock_ = CLOCK_MONOTONIC;
            fd_ = ::timerfd_create(clock_, TFD_NONBLOCK | TFD_CLOEXEC);
        }
        notifier_ = std::make_unique<QSocketNotifier>(fd_, QSocketNotifier::Read);
        QObject::connect(notifier_.get(), &QSocketNotifier::activated, notifier_.get(), [this] {
            std::uint64_t expirations = 0;
            [[maybe_unused]] const ssize_t got = ::read(fd_, &expirations, sizeof expirations);
            onWake_();
        });
    }

    ~LinuxBootClock() override {
        notifier_.reset();
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }

    std::int64_t NowMs() const override {
        timespec now{};
        ::clock_gettime(clock_, &now);
        return static_cast<std::int64_t>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
    }

    void WakeIn(std::int64_t waitMs) override {
        itimerspec expiry{};
        if (waitMs >= 0) {
            // Relative rather than absolute: time-scaling preloads (libfaketime, which the system tests use)
            // scale relative expiries but leave absolute ones on the unscaled clock. A zero expiry would disarm.
            const std::int64_t wait = std::max<std::int64_t>(waitMs, 1);
            expiry.it_value.tv_sec = static_cast<time_t>(wait / 1000);
            expiry.it_value.tv_nsec = static_cast<long>((wait % 1000) * 1000000);
        }
        ::timerfd_settime(fd_, 0, &expiry, nullptr);
    }

private:
    std::function<void()> onWake_;
    clockid_t clock_ = CLOCK_BOOTTIME;
    int fd_ = -1;
    std::unique_ptr<QSocketNotifier> notifier_;
};

} // namespace

std::unique_ptr<BootClock> MakeBootClock(std::function<void()> onWake) {
    return std::make_unique<LinuxBootClock>(std::move(onWake));
}

} // namespace platform
