// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop notification of an urgent countdown, with one action the user can pick there.
#pragma once

#include <functional>
#include <string>

namespace platform {

class Notifications {
public:
    virtual ~Notifications() = default;
    // Shows an urgent notice in the program's name and icon, or replaces the one shown by the last call, with this
    // text and one action. The desktop drops it by itself expireMs after it went up, so a program that ended
    // without withdrawing it leaves no stale notice. onAction runs on the GUI thread when the user picks the
    // action; it is forgotten by Withdraw().
    virtual void ShowUrgent(const std::string &title, const std::string &text, const std::string &actionLabel,
                            int expireMs, std::function<void()> onAction) = 0;
    // Takes the notice down, if one is shown.
    virtual void Withdraw() = 0;
};

} // namespace platform
