// SPDX-License-Identifier: GPL-3.0-or-later
// Calls to desktop and system services over D-Bus, made only when the service is on the bus.
#include "platform/linux/DBusService.h"

#include <QDBusConnectionInterface>
#include <QDBusError>
#include <QDBusVariant>

namespace platform {

bool ServicePresent(QDBusConnection &bus, const QString &service) {
    return bus.isConnected() && bus.interface() != nullptr && bus.interface()->isServiceRegistered(service).value();
}

namespace {

QDBusMessage MethodCall(const DBusTarget &target, const QString &method, const QList<QVariant> &arguments) {
    QDBusMessage message = QDBusMessage::createMethodCall(target.service, target.path, target.interface, method);
    message.setArguments(arguments);
    // A service that has gone away in between is not started again through D-Bus activation.
    message.setAutoStartService(false);
    return message;
}

} // namespace

QDBusMessage CallService(QDBusConnection &bus, const DBusTarget &target, const QString &method,
                         const QList<QVariant> &arguments, int timeoutMs) {
    if (!ServicePresent(bus, target.service)) {
        return {};
    }
    return bus.call(MethodCall(target, method, arguments), QDBus::Block, timeoutMs);
}

QDBusPendingCall CallServiceAsync(QDBusConnection &bus, const DBusTarget &target, const QString &method,
                                  const QList<QVariant> &arguments) {
    if (!ServicePresent(bus, target.service)) {
        return QDBusPendingCall::fromError(
            QDBusError(QDBusError::ServiceUnknown, target.service + QStringLiteral(" is not on the bus")));
    }
    return bus.asyncCall(MethodCall(target, method, arguments));
}

bool Answered(const QDBusMessage &reply) {
    return reply.type() == QDBusMessage::ReplyMessage;
}

QVariant ServiceProperty(QDBusConnection &bus, const DBusTarget &target, const QString &property, int timeoutMs) {
    const DBusTarget properties{target.service, target.path, QStringLiteral("org.freedesktop.DBus.Properties")};
    // Get(interface name, property name) -> v
    const QDBusMessage reply =
        CallService(bus, properties, QStringLiteral("Get"), {target.interface, property}, timeoutMs);
    if (!Answered(reply) || reply.arguments().isEmpty()) {
        return {};
    }
    return reply.arguments().constFirst().value<QDBusVariant>().variant();
}

} // namespace platform
