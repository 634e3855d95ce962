// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop notification an urgent countdown keeps up to date, with one action the user can pick there.
#pragma once

#include <functional>
#include <string>

namespace platform {

class Notifications {
public:
    virtual ~Notifications() = default;
    // Shows an urgent notice, or replaces the one shown by the last call, with this text and one action.
    // onAction runs on the GUI thread when the user picks the action; it is forgotten by Withdraw().
    virtual void ShowUrgent(const std::string &title, const std::string &text, const std::string &actionLabel,
                            std::function<void()> onAction) = 0;
    // Takes the notice down, if one is shown.
    virtual void Withdraw() = 0;
};

} // namespace platform
