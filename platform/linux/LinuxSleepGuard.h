// SPDX-License-Identifier: GPL-3.0-or-later
// The SleepGuard interface on Linux: the desktop's inhibit services, and a helper holding a wake alarm.
#pragma once

#include "platform/SleepGuard.h"

#include <memory>
#include <string>

namespace platform {

class SleepLink;

// Every D-Bus call is asynchronous, so a slow service never holds up the GUI thread. The hold asks, in turn,
// the Inhibit portal, GNOME's session manager, the PowerManagement service and logind for an "idle" lock, and
// keeps the first that answers; none of them keeps the user from suspending the machine by hand.
class LinuxSleepGuard : public SleepGuard {
public:
    LinuxSleepGuard();
    ~LinuxSleepGuard() override;
    void Hold(const std::string &reason) override;
    void Release() override;
    void WakeAt(std::int64_t epochSeconds, std::function<void()> ended) override;
    void CancelWake() override;

    // The wake helper that belongs to the program at executable: beside it, or in <prefix>/lib/zindrel when the
    // program is <prefix>/bin/zindrel; empty when there is none.
    static std::string WakeHelper(const std::string &executable);

private:
    std::unique_ptr<SleepLink> link_;
};

} // namespace platform
