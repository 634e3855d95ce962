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
    void ShowUrgent(const std::string &title, const std::string &text, const std::string &actionLabel, int expireMs,
                    std::function<void()> onAction) override;
    void Withdraw() override;

private:
    std::unique_ptr<NotificationLink> link_;
};

} // namespace platform
