// SPDX-License-Identifier: GPL-3.0-or-later
// The Notifications interface on Linux: org.freedesktop.Notifications on the session bus.
#pragma once

#include "platform/Notifications.h"

#include <memory>

namespace platform {

class NotificationLink;

// Every call is asynchronous, so a slow or absent notification service never holds up the GUI thread; without a
// service nothing is shown and one stderr line says so.
class LinuxNotifications : public Notifications {
public:
    LinuxNotifications();
    ~LinuxNotifications() override;
    bool ShowsActions() const override { return true; }
    void Show(NoticeKind kind, Notice notice) override;
    void Withdraw(NoticeKind kind) override;
    // Subscribes to the service's signals, which asks the bus who owns the service and waits for the answer, and
    // draws the icon sent with the notices.
    void Prepare() override;

private:
    NotificationLink &Link(NoticeKind kind);
    std::unique_ptr<NotificationLink> warning_;
    std::unique_ptr<NotificationLink> reminder_;
};

} // namespace platform
