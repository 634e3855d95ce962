// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop notices of the warning countdown and of a reminder, with the actions the user can pick there.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace platform {

// The program's notices: each is shown, replaced and withdrawn apart from the other.
enum class NoticeKind { Warning, Reminder };

struct NoticeAction {
    // The action's name for the desktop ("cancel"), and its label on the button.
    std::string key;
    std::string label;
    // Runs on the GUI thread when the user picks the action.
    std::function<void()> run;
};

struct Notice {
    std::string title;
    std::string text;
    std::vector<NoticeAction> actions;
    // The desktop drops the notice by itself this long after it went up, so a program that ended without
    // withdrawing it leaves no stale notice; 0 keeps it until the user dismisses it.
    int expireMs = 0;
    // Urgent notices stay on screen until withdrawn or expired.
    bool urgent = false;
};

class Notifications {
public:
    virtual ~Notifications() = default;
    // Whether the desktop shows a notice's actions as buttons. Where it does not (a tray balloon), the program
    // offers one action, run by a click on the notice, and its text says so.
    virtual bool ShowsActions() const = 0;
    // Shows a notice of this kind in the program's name and icon, or replaces the one of this kind shown last.
    virtual void Show(NoticeKind kind, Notice notice) = 0;
    // Takes the notice of this kind down, if one is shown; its actions are forgotten.
    virtual void Withdraw(NoticeKind kind) = 0;
    // A notice may follow (a run was armed): what the first one would do beyond sending it is done now, not in the
    // middle of the firing whose notice it is.
    virtual void Prepare() {}
};

} // namespace platform
