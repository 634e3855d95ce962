// SPDX-License-Identifier: GPL-3.0-or-later
// The notification area on Linux: a StatusNotifierItem host on the session bus, or an XEmbed tray.
#include "platform/Tray.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>

namespace platform {

bool TrayReportsSingleActivations() {
    const QDBusConnectionInterface *bus = QDBusConnection::sessionBus().interface();
    return bus != nullptr && bus->isServiceRegistered(QStringLiteral("org.kde.StatusNotifierWatcher")).value();
}

} // namespace platform
