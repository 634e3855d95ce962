// SPDX-License-Identifier: GPL-3.0-or-later
// The boot clock on Windows: the performance counter, and the wake-up's timers watched by the event loop.
#include "platform/BootClock.h"
#include "platform/windows/real/Win32WakeTimer.h"

#include <QWinEventNotifier>

#include <initializer_list>
#include <memory>
#include <vector>

namespace platform {

namespace {

class Win32BootClock : public BootClock {
public:
    explicit Win32BootClock(std::function<void()> onWake) : onWake_(std::move(onWake)) {
        for (void *timer : {timer_.Precise(), timer_.AtResume()}) {
            auto &notifier = notifiers_.emplace_back(std::make_unique<QWinEventNotifier>(timer));
            QObject::connect(notifier.get(), &QWinEventNotifier::activated, notifier.get(), [this] {
                // The other timer is set for the same moment; if it was signalled already, its wake-up finds
                // nothing due and only sets the next one.
                timer_.WakeIn(-1);
                onWake_();
            });
        }
    }

    std::int64_t NowMs() const override { return win32::PerformanceCounterMs(); }

    void WakeIn(std::int64_t waitMs) override { timer_.WakeIn(waitMs); }

private:
    std::function<void()> onWake_;
    win32::WakeTimer timer_;
    std::vector<std::unique_ptr<QWinEventNotifier>> notifiers_;
};

} // namespace

std::unique_ptr<BootClock> MakeBootClock(std::function<void()> onWake) {
    return std::make_unique<Win32BootClock>(std::move(onWake));
}

} // namespace platform
